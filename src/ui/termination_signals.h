#pragma once

#include <QObject>

class QSocketNotifier;

namespace wendle {

// Turns SIGTERM, SIGINT and SIGHUP (kill, Ctrl+C, logout) into a Qt signal
// delivered on the event loop, so that the program ends by its usual path.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace wendle
