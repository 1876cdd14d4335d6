// Loaded into a Qt program with LD_PRELOAD: once the first paint of a window
// is done, writes one byte to standard output and ends the process, so that a
// caller can time a program from its start to its first painted window.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <unistd.h>

namespace {

class PaintProbe : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType()) {
            m_seen = true;
            // Queued: it runs once the whole window has been painted.
            QMetaObject::invokeMethod(this, &PaintProbe::painted, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void painted()
    {
        const char byte = 'p';
        [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, &byte, 1);
        ::_exit(0);
    }

    bool m_seen = false;
};

void installProbe()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        qApp->installEventFilter(new PaintProbe);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
