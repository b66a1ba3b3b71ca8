import QtQuick 2.0

// A popup that names the scene state to return to when it closes.
Item {
    signal close(string rootState)
}
