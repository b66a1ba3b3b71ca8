# Sources of the devices module, added to the core library.
