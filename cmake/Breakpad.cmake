# Breakpad's Linux client as a static library, built from the source that tools/install-deps puts
# into third_party/minidump (the npm package "minidump" carries it). Only what writes minidumps in
# process is compiled: no crash-generation server, no uploader, no libcurl.
#
# Targets:
#   breakpad-headers  interface: include paths and the definition every user of the headers needs
#   breakpad-client   the static library (position-independent: it goes into the shared core)
# Variables:
#   GYRE_MINIDUMP_STACKWALK  the package's prebuilt minidump_stackwalk, which the tests use

set(GYRE_MINIDUMP_PACKAGE_DIR ${PROJECT_SOURCE_DIR}/third_party/minidump/node_modules/minidump
    CACHE PATH "The npm package minidump 0.26.0, holding Breakpad's source")
set(_bp ${GYRE_MINIDUMP_PACKAGE_DIR}/deps/breakpad/src)

if(NOT EXISTS ${_bp}/client/linux/handler/exception_handler.cc)
    message(FATAL_ERROR "Breakpad's source is missing from ${GYRE_MINIDUMP_PACKAGE_DIR}; run tools/install-deps")
endif()

add_library(breakpad-headers INTERFACE)
# deps/ makes "third_party/lss/linux_syscall_support.h" resolve. SYSTEM keeps the warnings of
# Breakpad's headers out of our own strict builds.
target_include_directories(breakpad-headers SYSTEM INTERFACE ${_bp} ${GYRE_MINIDUMP_PACKAGE_DIR}/deps)
# Qt includes <inttypes.h> before Breakpad does, so the PRI macros must be asked for from the start.
target_compile_definitions(breakpad-headers INTERFACE __STDC_FORMAT_MACROS)

add_library(breakpad-client STATIC
    ${_bp}/client/linux/crash_generation/crash_generation_client.cc
    ${_bp}/client/linux/dump_writer_common/thread_info.cc
    ${_bp}/client/linux/dump_writer_common/ucontext_reader.cc
    ${_bp}/client/linux/handler/exception_handler.cc
    ${_bp}/client/linux/handler/minidump_descriptor.cc
    ${_bp}/client/linux/log/log.cc
    ${_bp}/client/linux/microdump_writer/microdump_writer.cc
    ${_bp}/client/linux/minidump_writer/linux_dumper.cc
    ${_bp}/client/linux/minidump_writer/linux_ptrace_dumper.cc
    ${_bp}/client/linux/minidump_writer/minidump_writer.cc
    ${_bp}/client/linux/minidump_writer/pe_file.cc
    ${_bp}/client/minidump_file_writer.cc
    ${_bp}/common/convert_UTF.cc
    ${_bp}/common/string_conversion.cc
    ${_bp}/common/linux/elfutils.cc
    ${_bp}/common/linux/file_id.cc
    ${_bp}/common/linux/guid_creator.cc
    ${_bp}/common/linux/linux_libc_support.cc
    ${_bp}/common/linux/memory_mapped_file.cc
    ${_bp}/common/linux/safe_readlink.cc
)
target_link_libraries(breakpad-client PUBLIC breakpad-headers Threads::Threads)
set_target_properties(breakpad-client PROPERTIES POSITION_INDEPENDENT_CODE ON)
# What its configure script would find in glibc: getcontext() (else an assembler stand-in is
# expected) and getrandom() for the dump file names.
target_compile_definitions(breakpad-client PRIVATE HAVE_GETCONTEXT HAVE_GETRANDOM HAVE_SYS_RANDOM_H)
# Not our code: its warnings are not ours to fix.
target_compile_options(breakpad-client PRIVATE -w)

set(GYRE_MINIDUMP_STACKWALK ${GYRE_MINIDUMP_PACKAGE_DIR}/bin/linux-x64/minidump_stackwalk)
