# Sources of the video module, added to the core library.
