# The three compiled-in resource bundles: the interface (qml/ and images/), the translation catalogues
# (Translation/) and the media player module (HVideo/). Each bundle's .qrc is generated from the files
# on disk, so adding a QML file or an image needs no edit here.

function(gyre_write_qrc qrc_file prefix_dir)
    set(entries "")
    foreach(abs IN LISTS ARGN)
        file(RELATIVE_PATH rel "${prefix_dir}" "${abs}")
        string(APPEND entries "        <file alias=\"${rel}\">${abs}</file>\n")
    endforeach()
    set(content "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n    <qresource prefix=\"/\">\n${entries}    </qresource>\n</RCC>\n")
    # Only rewrite on change, so rcc does not rerun on every configure.
    if(EXISTS "${qrc_file}")
        file(READ "${qrc_file}" old)
        if(old STREQUAL content)
            return()
        endif()
    endif()
    file(WRITE "${qrc_file}" "${content}")
endfunction()

set(_root ${PROJECT_SOURCE_DIR})
set(_gen ${CMAKE_CURRENT_BINARY_DIR}/resources)

# Interface
file(GLOB_RECURSE _ui_files CONFIGURE_DEPENDS
    ${_root}/qml/*.qml ${_root}/qml/*.js ${_root}/qml/qmldir
    ${_root}/images/*.png ${_root}/images/*.jpg)
gyre_write_qrc(${_gen}/interface.qrc ${_root} ${_ui_files})

# Media player module
file(GLOB_RECURSE _hvideo_files CONFIGURE_DEPENDS ${_root}/HVideo/*.qml ${_root}/HVideo/qmldir)
gyre_write_qrc(${_gen}/hvideo.qrc ${_root} ${_hvideo_files})

# Translations: our catalogues are compiled from the .ts sources; Qt's own come from the Qt installation.
file(GLOB _ts_files CONFIGURE_DEPENDS ${_root}/Translation/REzeva_*.ts)
set_source_files_properties(${_ts_files} PROPERTIES OUTPUT_LOCATION ${_gen}/Translation)
qt5_add_translation(_our_qm ${_ts_files})

get_target_property(_qmake Qt5::qmake IMPORTED_LOCATION)
execute_process(COMMAND ${_qmake} -query QT_INSTALL_TRANSLATIONS
    OUTPUT_VARIABLE _qt_translations OUTPUT_STRIP_TRAILING_WHITESPACE)
set(_qt_qm "")
foreach(lang ar cs de es fr it ja pl ru zh_CN zh_TW)
    set(src ${_qt_translations}/qt_${lang}.qm)
    if(EXISTS ${src})
        configure_file(${src} ${_gen}/Translation/qt_${lang}.qm COPYONLY)
        list(APPEND _qt_qm ${_gen}/Translation/qt_${lang}.qm)
    else()
        message(WARNING "Qt catalogue ${src} is missing; install qttranslations5-l10n")
    endif()
endforeach()
gyre_write_qrc(${_gen}/translations.qrc ${_gen} ${_our_qm} ${_qt_qm})

qt5_add_resources(_rcc_sources
    ${_gen}/interface.qrc ${_gen}/hvideo.qrc ${_gen}/translations.qrc)
target_sources(gyre-core PRIVATE ${_rcc_sources})
