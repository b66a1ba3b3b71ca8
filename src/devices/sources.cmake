# Head tracking and input devices: the orientation sensor (Qt Sensors) and the device objects the
# interface binds to.
target_sources(gyre-core PRIVATE
    devices/HSensor.cpp devices/HSensor.h
    devices/HSensorQt.cpp devices/HSensorQt.h
    devices/HDisplay.cpp devices/HDisplay.h
    devices/HNullDevice.h
    devices/HOculus.h
    devices/HLeap.h
    devices/HLeapFingerOGL.cpp devices/HLeapFingerOGL.h
    devices/DevicesLogging.cpp devices/DevicesLogging.h
)
