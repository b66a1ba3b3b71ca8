# Sources of the render module, added to the core library.
