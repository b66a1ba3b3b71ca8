#pragma once

#include <QString>

// The notices of the libraries the program is built on (libVLC, Qt, Breakpad), as the licences
// popup shows them.
namespace ThirdPartyNotices {
QString text();
}
