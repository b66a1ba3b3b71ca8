# Network services: the update checker, the hosting client and screen synchronisation over UDP.
target_sources(gyre-core PRIVATE
    net/HUpdateAnswer.cpp net/HUpdateAnswer.h
    net/HUpdateManager.cpp net/HUpdateManager.h
    net/NetLogging.cpp net/NetLogging.h
    net/HHostingManager.cpp net/HHostingManager.h
    net/HRedaction.cpp net/HRedaction.h
    net/HTrustedAuthorities.cpp net/HTrustedAuthorities.h
    net/VideosListModel.cpp net/VideosListModel.h
    net/HBinaryJsonValidator.cpp net/HBinaryJsonValidator.h
    net/HSyncDatagram.cpp net/HSyncDatagram.h
    net/HClockOffset.cpp net/HClockOffset.h
    net/HOrientationFollower.cpp net/HOrientationFollower.h
    net/HRateController.cpp net/HRateController.h
    net/HUdpSocket.cpp net/HUdpSocket.h
)
