# Network services and the version value type.
target_sources(gyre-core PRIVATE
    net/ProductVersion.cpp net/ProductVersion.h
)
