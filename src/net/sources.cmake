# Network services and the version value type.
target_sources(gyre-core PRIVATE
    net/ProductVersion.cpp net/ProductVersion.h
)
target_sources(gyre-core PRIVATE
    net/HUpdateManager.cpp net/HUpdateManager.h
    net/NetLogging.cpp net/NetLogging.h
)
target_sources(gyre-core PRIVATE
    net/HHostingManager.cpp net/HHostingManager.h
    net/VideosListModel.cpp net/VideosListModel.h
)
target_sources(gyre-core PRIVATE
    net/HBinaryJsonValidator.cpp net/HBinaryJsonValidator.h
    net/HSyncDatagram.cpp net/HSyncDatagram.h
    net/HUdpSocket.cpp net/HUdpSocket.h
)
