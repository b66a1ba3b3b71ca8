#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcNet)
// Screen synchronisation, whose hot path logs nothing.
Q_DECLARE_LOGGING_CATEGORY(lcUdp)
