import QtQuick 2.0
import QtTest 1.2
import "qrc:/qml"

// In demo mode (the runner's window is made with the demo flag) the bar never leaves the screen.
Item {
    id: scene

    width: 1200
    height: 600

    H_Bar {
        id: bar
    }

    TestCase {
        name: "BarDemoMode"
        when: windowShown

        function test_staysVisibleWhenOff() {
            verify(hView.demoMode)
            bar.state = "On"
            bar.showElement(findChild(bar, "menuList"))
            bar.state = "Off"
            compare(findChild(bar, "menuList").state, "Hidden")
            wait(300)
            compare(bar.y, scene.height - bar.height)
        }
    }
}
