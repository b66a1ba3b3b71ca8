# The base every module stands on, including nothing else of ours: the settings store, the
# product's names and version, and the notices of the libraries the program is built on.
target_sources(gyre-core PRIVATE
    base/BaseLogging.cpp base/BaseLogging.h
    base/HAssign.h
    base/HMonotonicClock.h
    base/HSettingsManager.cpp base/HSettingsManager.h
    base/KernelSettingsWriter.h
    base/ProductInfo.h
    base/ProductVersion.cpp base/ProductVersion.h
    base/ThirdPartyNotices.cpp base/ThirdPartyNotices.h
)
