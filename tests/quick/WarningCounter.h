#pragma once

#include <QObject>

// Counts the warnings the program writes (QML errors among them) from the moment a test starts it,
// passing every message on to whoever handled it before: for checks that something stays silent.
class WarningCounter : public QObject
{
    Q_OBJECT

public:
    ~WarningCounter() override
    {
        if (previous) {
            qInstallMessageHandler(previous);
        }
    }

    // Started late on purpose: the test logger installs its handler only once the tests run.
    Q_INVOKABLE void start()
    {
        count = 0;
        if (!previous) {
            previous = qInstallMessageHandler(&WarningCounter::handle);
        }
    }
    Q_INVOKABLE int warnings() const { return count; }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtWarningMsg || type == QtCriticalMsg) {
            ++count;
        }
        previous(type, context, message);
    }

    static inline int count = 0;
    static inline QtMessageHandler previous = nullptr;
};
