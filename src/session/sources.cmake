# Session state: the global object (view state and QML's bridge to the core).
target_sources(gyre-core PRIVATE
    session/HGlobalObject.cpp session/HGlobalObject.h
    session/SessionLogging.cpp session/SessionLogging.h
)
