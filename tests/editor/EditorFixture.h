#pragma once

#include "AppState.h"
#include "CanvasView.h"
#include "Ini.h"
#include "ScreenLayout.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "frmTivaro.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// Every file of a folder with its bytes.
inline QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        files.insert(name, readFile(folder + QLatin1Char('/') + name));
    return files;
}

// Fills target with a copy of one of the demo skins, replacing what was there.
inline void copySkin(const QString& target, const QString& demoSkin = QStringLiteral("DemoSkin"))
{
    for (const QString& old : QDir(target).entryList(QDir::Files))
        QFile::remove(target + QLatin1Char('/') + old);
    const QDir demo(QStringLiteral(TIVARO_SAMPLES_DIR "/") + demoSkin);
    for (const QString& name : demo.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(demo.filePath(name), target + QLatin1Char('/') + name));
}

// Types a rectangle into the active element's fields, one field after the other.
inline void type(LayoutDocument& document, const FieldValues& values)
{
    for (const Field f : {FieldX, FieldY, FieldCX, FieldCY})
        document.typeValue(f, values[f]);
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
        window->setZoom(1); // device pixels are widget pixels
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
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
    LayoutDocument& doc() const { return window->document(); }
    bool changed() const { return window->layout().LayoutChanged(); }
    // Rectangle of a slot in device pixels (15 twips each).
    QRectF pixels(int slot) const
    {
        const QRectF r = doc().rect(slot);
        return {r.x() / 15, r.y() / 15, r.width() / 15, r.height() / 15};
    }
    // What the four coordinate fields hold.
    QStringList fields() const
    {
        const Canvas& c = window->canvas();
        return {c.txtX()->text(), c.txtY()->text(), c.txtCX()->text(), c.txtCY()->text()};
    }
    int activeSlot() const { return window->canvas().selector()->tag().toInt(); }
    void select(int slot) { doc().select(slot); }
    // How often the save question was asked, as a Yes/No/Cancel question.
    int questions() const
    {
        int n = 0;
        for (const auto& s : prompter.shown)
            n += s.text == QLatin1String("Soll die Datei gespeichert werden?") && s.title == QLatin1String("Frage:")
                 && s.buttons == Prompter::Buttons::YesNoCancel;
        return n;
    }
    // Gives up the edits so far, so that the next load asks nothing.
    void forget() { doc().undoStack().clear(); }

    // A point of the device screen, in pixels of the canvas widget.
    static QPoint at(int x, int y) { return {x + CanvasView::Margin, y + CanvasView::Margin}; }

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
    // Press, the ignored first move, the moves and the release.
    void drag(QPoint from, std::initializer_list<QPoint> to)
    {
        press(from);
        move(from);
        for (QPoint p : to)
            move(p);
        release(to.size() ? *(to.end() - 1) : from);
    }
};
