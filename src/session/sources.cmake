# Sources of the session module, added to the core library.
