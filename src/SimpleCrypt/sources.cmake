# Scrambling of stored credentials.
target_sources(gyre-core PRIVATE
    SimpleCrypt/SimpleCrypt.cpp SimpleCrypt/SimpleCrypt.h
)
