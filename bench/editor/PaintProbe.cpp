// Loaded into a Qt program with LD_PRELOAD: once the first paint of a window
// is done, writes one byte to standard output and ends the process, so that a
// caller can time a program from its start to its first painted window.
// With TIVARO_PROBE_SCREEN set, it first shows that screen through the
// editor's screen list, paints it and lets the program run a second more
// (long enough for the screen gallery to draw every thumbnail), so that the
// caller can read the peak memory of the program with that screen loaded.
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <unistd.h>

namespace {

constexpr int SettleMilliseconds = 1000;

void showScreen(const QString& screen)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* screens = window->findChild<QComboBox*>(QStringLiteral("ComboAnsicht"));
        const int index = screens ? screens->findText(screen) : -1;
        if (index < 0)
            continue;
        screens->setCurrentIndex(index);
        emit screens->activated(index);
        window->repaint();
        QElapsedTimer running;
        running.start();
        while (running.elapsed() < SettleMilliseconds)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return;
    }
    ::_exit(3); // no such screen: the caller sees a failure, not a figure
}

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
        const QString screen = qEnvironmentVariable("TIVARO_PROBE_SCREEN");
        if (!screen.isEmpty())
            showScreen(screen);
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
