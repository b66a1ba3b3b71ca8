#pragma once

#include <QLoggingCategory>

// The settings store.
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
