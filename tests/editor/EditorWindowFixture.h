#pragma once

#include "AppState.h"
#include "CanvasView.h"
#include "ScriptedPrompter.h"
#include "clsImage.h"
#include "frmTivaro.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

inline QByteArray bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The editor window on the offscreen platform, with the program bitmaps of
// the build and a scratch copy of the demo skin.
class EditorWindowFixture : public ::testing::Test
{
protected:
    QTemporaryDir program;
    QTemporaryDir skin;
    ScriptedPrompter prompter;
    AppState state;
    std::unique_ptr<frmTivaro> window;

    void SetUp() override
    {
        ASSERT_TRUE(program.isValid() && skin.isValid());
        // The bitmaps stay where the build drew them; Tivaro.ini goes to the scratch folder.
        ASSERT_TRUE(QFile::link(QStringLiteral(TIVARO_PROGRAM_DIR "/pics"), program.filePath(QStringLiteral("pics"))));
        copySkin(skin.path());
        state.AppPath = program.path() + QLatin1Char('/');
        state.prompter = &prompter;
        window = std::make_unique<frmTivaro>(state);
        window->elements().setLocale(QLocale::c());
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
    }

    static void copySkin(const QString& target)
    {
        const QDir demo(QStringLiteral(TIVARO_SAMPLES_DIR "/DemoSkin"));
        for (const QString& name : demo.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(demo.filePath(name), target + QLatin1Char('/') + name));
    }

    void openScreen(const QString& name)
    {
        QComboBox* combo = find<QComboBox>("ComboAnsicht");
        combo->setCurrentIndex(combo->findText(name));
        window->ComboAnsicht_Click();
    }

    template <class T> T* find(const char* name) const
    {
        T* item = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(item, nullptr) << name;
        return item;
    }

    CanvasView* view() const { return window->canvasView(); }

    // A point of the device screen, in pixels of the canvas widget.
    static QPoint at(int x, int y) { return {x + CanvasView::Margin, y + CanvasView::Margin}; }

    // Rectangle of a slot in device pixels relative to the screen frame.
    QRectF pixels(int slot) const
    {
        const QRectF r = window->canvas().bitmap(slot)->rect();
        return {r.x() / 15, r.y() / 15, r.width() / 15, r.height() / 15};
    }

    QStringList fields() const
    {
        Canvas& c = window->canvas();
        return {c.txtX()->text(), c.txtY()->text(), c.txtCX()->text(), c.txtCY()->text()};
    }

    int activeSlot() const { return window->canvas().selector()->tag().toInt(); }

    void select(int slot)
    {
        window->canvas().selector()->setTag(QString::number(slot));
        window->elements().at(slot)->paintSelector();
    }

    // A key typed where the keyboard focus is, as the user types it.
    // A held Shift moves the focus first, so the key itself goes where the focus is then.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const auto focus = [this]() -> QWidget* {
            return QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        };
        if (modifiers & Qt::ShiftModifier)
            QTest::keyPress(focus(), Qt::Key_Shift, Qt::ShiftModifier);
        QTest::keyClick(focus(), k, modifiers);
        if (modifiers & Qt::ShiftModifier)
            QTest::keyRelease(focus(), Qt::Key_Shift);
    }

    void press(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(view(), button, Qt::NoModifier, p);
    }
    // A move with the buttons still held from the press.
    void move(QPoint p) { QTest::mouseMove(view(), p); }
    // A move without any button; QTest would only move the platform cursor here.
    void hover(QPoint p)
    {
        QMouseEvent event(QEvent::MouseMove, p, view()->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view(), &event);
    }
    void release(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(view(), button, Qt::NoModifier, p);
    }
};
