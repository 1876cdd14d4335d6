#include "CFileDialog.h"
#include "FileDialogRules.h"
#include "ScriptedPrompter.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QApplication>
#include <gtest/gtest.h>

#include "QtPrint.h"

namespace {

const QChar Nul(u'\0');

// Joins parts with NULs, as the platform's lists are written.
QString nuls(std::initializer_list<const char*> parts)
{
    QStringList list;
    for (const char* p : parts)
        list << QString::fromUtf8(p);
    return list.join(Nul);
}

} // namespace

TEST(FileDialogRules, FilterListFromTheSettings)
{
    using Pairs = std::array<QString, 5>;
    const struct {
        const char* name;
        QString filter;
        Pairs texts;
        Pairs suffixes;
        QString expected;
    } cases[] = {
        {"nothing set", {}, {}, {}, nuls({"Alle Dateien", "*.*", "", ""})},
        {"pair without pattern", {}, {"", "INI-Dateien"}, {}, nuls({"Alle Dateien", "*.*", "", ""})},
        {"pattern without text", {}, {}, {"", "*.ini"}, nuls({"Alle Dateien", "*.*", "", ""})},
        {"pairs 1 and 3", {}, {"Layout", "", "Schriften"}, {"*.ini", "*.bmp", "*.ttf"},
         nuls({"Layout", "*.ini", "Schriften", "*.ttf", "", ""})},
        {"full list in front", nuls({"Bilder", "*.bmp", "", ""}), {"Layout"}, {"*.ini"},
         nuls({"Bilder", "*.bmp", "Layout", "*.ini", "", ""})},
        {"full list without its NULs", nuls({"Bilder", "*.bmp"}), {}, {}, nuls({"Bilder", "*.bmp", "", ""})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildFilterList(c.filter, c.texts, c.suffixes), c.expected) << c.name;
}

TEST(FileDialogRules, NameFiltersForQt)
{
    const struct {
        QString list;
        QStringList expected;
    } cases[] = {
        {nuls({"Alle Dateien", "*.*", "", ""}), {"Alle Dateien (*)"}},
        {nuls({"Layout", "*.ini;*.INI", "Bilder", "*.bmp", "", ""}), {"Layout (*.ini *.INI)", "Bilder (*.bmp)"}},
        {nuls({"Ohne Muster", "", "Rest"}), {}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NameFiltersOf(c.list), c.expected);
}

TEST(FileDialogRules, FlagsByIntention)
{
    const struct {
        qint32 flags;
        bool multiSelect;
        const char* intention;
        std::optional<qint32> expected;
    } cases[] = {
        {0, false, "Open", 6148},
        {0, true, "Open", 530948},
        {0, false, "Save", 2054},
        {0, true, "Save", 2054},
        {6148, true, "Open", 530948}, // the skin manager's settings
        {6148, false, "Open", 6148},
        {2, true, "Save", 524802},
        {0, false, "Drucken", std::nullopt},
        {7, true, "open", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FlagsForIntention(c.flags, c.multiSelect, QString::fromLatin1(c.intention)), c.expected)
            << c.flags << " " << c.intention;
}

TEST(FileDialogRules, FlagsShapeTheQtDialog)
{
    const struct {
        qint32 flags;
        bool save;
        QFileDialog::FileMode mode;
        QFileDialog::AcceptMode accept;
        bool asksBeforeOverwriting;
    } cases[] = {
        {6148, false, QFileDialog::ExistingFile, QFileDialog::AcceptOpen, false},
        {530948, false, QFileDialog::ExistingFiles, QFileDialog::AcceptOpen, false},
        {4, false, QFileDialog::AnyFile, QFileDialog::AcceptOpen, false},
        {2054, true, QFileDialog::AnyFile, QFileDialog::AcceptSave, true},
        {4, true, QFileDialog::AnyFile, QFileDialog::AcceptSave, false},
    };
    for (const auto& c : cases) {
        QFileDialog dialog;
        ConfigureFileDialog(dialog, c.flags, c.save);
        EXPECT_EQ(dialog.fileMode(), c.mode) << c.flags;
        EXPECT_EQ(dialog.acceptMode(), c.accept) << c.flags;
        EXPECT_EQ(!dialog.testOption(QFileDialog::DontConfirmOverwrite), c.asksBeforeOverwriting) << c.flags;
    }
}

TEST(FileDialogRules, RawMultiFileList)
{
    EXPECT_EQ(MultiFileList({}), QString());
    EXPECT_EQ(MultiFileList({"/skins/a.ini"}), QDir::toNativeSeparators("/skins/a.ini"));
    EXPECT_EQ(MultiFileList({"/skins/a.ini", "/skins/b.ini"}),
              QDir::toNativeSeparators("/skins") + Nul + "a.ini" + Nul + "b.ini");
}

class FileDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        for (const char* name : {"a.ini", "b.ini", "c.ini", "font.ttf"}) {
            QFile file(path(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        dialog.setDefaultDir(tmp.path());
    }

    QString path(const QString& name) const { return QDir::toNativeSeparators(tmp.path() + u'/' + name); }

    // Types into the file name field of the next dialog and presses Return.
    void typeNext(const QString& typed, std::function<void(QFileDialog&)> check = {})
    {
        prompter.onDialog([this, typed, check](QObject& o) {
            auto& d = dynamic_cast<QFileDialog&>(o);
            EXPECT_TRUE(d.testOption(QFileDialog::DontUseNativeDialog));
            d.show();
            if (check)
                check(d);
            auto* edit = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            EXPECT_NE(edit, nullptr);
            if (!edit)
                return false;
            // The name field has the focus, as when a user types into it.
            QApplication::setActiveWindow(&d);
            edit->setFocus();
            EXPECT_TRUE(edit->hasFocus());
            // Pasted rather than typed, so that the completer's popup stays shut.
            edit->setText(typed);
            // A question of Qt's own (missing or existing file) is answered with Escape.
            QTimer::singleShot(0, &d, [this, &d] {
                QWidget* box = QApplication::activeModalWidget();
                if (box && box != &d) {
                    ++extraBoxes;
                    QTest::keyClick(box, Qt::Key_Escape);
                }
            });
            QTest::keyClick(edit, Qt::Key_Return);
            selected = d.selectedFiles();
            return d.result() == QDialog::Accepted;
        });
    }

    QTemporaryDir tmp;
    ScriptedPrompter prompter;
    CFileDialog dialog{prompter};
    QStringList selected;
    int extraBoxes = 0;
};

TEST_F(FileDialog, SkinManagerChoosesSeveralFiles)
{
    dialog.setDialogTitle(QStringLiteral("Datei kopieren"));
    dialog.setDefaultExt(QString());
    dialog.setDefaultFileName(QString());
    dialog.setMultiSelect(true);
    dialog.setFlags(6148);
    typeNext(QStringLiteral("\"b.ini\" \"c.ini\" \"a.ini\""), [](QFileDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Datei kopieren");
        EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFiles);
        EXPECT_EQ(d.nameFilters(), QStringList{"Alle Dateien (*)"});
    });

    const QString first = dialog.ShowOpen();
    ASSERT_EQ(selected.size(), 3);
    EXPECT_EQ(first, QDir::toNativeSeparators(selected[0]));
    EXPECT_EQ(dialog.fileName(), first);
    EXPECT_EQ(dialog.FileCount(), 3);
    QStringList all{first};
    for (int i = 1; i < dialog.FileCount(); ++i)
        all << dialog.GetNextFile();
    EXPECT_EQ(dialog.GetNextFile(), QString());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(all[i], QDir::toNativeSeparators(selected[i])) << "in the dialog's order";
    all.sort();
    EXPECT_EQ(all, QStringList({path("a.ini"), path("b.ini"), path("c.ini")}));
}

TEST_F(FileDialog, OneFileOfAMultipleSelectionIsAFullPath)
{
    dialog.setMultiSelect(true);
    typeNext(QStringLiteral("font.ttf"));
    EXPECT_EQ(dialog.ShowOpen(), path("font.ttf"));
    EXPECT_EQ(dialog.FileCount(), 1);
    EXPECT_EQ(dialog.GetNextFile(), QString());
}

TEST_F(FileDialog, CancelForgetsThePreviousChoice)
{
    dialog.setMultiSelect(true);
    typeNext(QStringLiteral("\"a.ini\" \"b.ini\""));
    ASSERT_EQ(dialog.FileCount(), 0);
    ASSERT_FALSE(dialog.ShowOpen().isEmpty());
    ASSERT_EQ(dialog.FileCount(), 2);

    prompter.onDialog([](QObject& o) {
        auto& d = dynamic_cast<QDialog&>(o);
        d.show();
        QTest::keyClick(&d, Qt::Key_Escape);
        return d.result() == QDialog::Accepted;
    });
    EXPECT_EQ(dialog.ShowOpen(), QString());
    EXPECT_EQ(dialog.fileName(), QString());
    EXPECT_EQ(dialog.FileCount(), 0);
    EXPECT_EQ(dialog.GetNextFile(), QString());
}

TEST_F(FileDialog, CompatibleMultiSelectionReturnsTheRawList)
{
    dialog.setMultiSelectOCXCompatible(true);
    typeNext(QStringLiteral("\"a.ini\" \"c.ini\""), [](QFileDialog& d) {
        EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFiles);
    });
    const QString raw = dialog.ShowOpen();
    EXPECT_EQ(raw.split(Nul).size(), 3);
    EXPECT_EQ(raw.split(Nul).first(), QDir::toNativeSeparators(tmp.path()));
    EXPECT_EQ(dialog.FileCount(), 2);
}

TEST_F(FileDialog, FiltersAreOfferedAndNonExistingFilesRefusedOnOpen)
{
    dialog.setFilter1Text(QStringLiteral("Layout"));
    dialog.setFilter1Suffix(QStringLiteral("*.ini"));
    dialog.setFilter2Text(QStringLiteral("Schriften"));
    typeNext(QStringLiteral("fehlt.ini"), [](QFileDialog& d) {
        EXPECT_EQ(d.nameFilters(), QStringList{"Layout (*.ini)"});
        EXPECT_EQ(d.selectedNameFilter(), "Layout (*.ini)");
    });
    EXPECT_EQ(dialog.ShowOpen(), QString());
    EXPECT_EQ(extraBoxes, 1) << "Qt tells about the missing file";
    EXPECT_EQ(dialog.FileCount(), 0);
}

TEST_F(FileDialog, SaveAfterOpenUsesTheSaveFlags)
{
    typeNext(QStringLiteral("a.ini"));
    ASSERT_EQ(dialog.ShowOpen(), path("a.ini"));

    dialog.setDefaultExt(QStringLiteral("ini"));
    typeNext(QStringLiteral("neu"), [](QFileDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Datei speichern unter");
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(d.fileMode(), QFileDialog::AnyFile);
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), "a.ini");
    });
    EXPECT_EQ(dialog.ShowSave(), path("neu.ini"));
    EXPECT_EQ(extraBoxes, 0);
    EXPECT_EQ(dialog.fileName(), path("neu.ini"));
}

TEST_F(FileDialog, SaveProposesTheDefaultNameFirst)
{
    dialog.setDefaultFileName(QStringLiteral("vorschlag.ini"));
    QString proposed;
    typeNext(QStringLiteral("x.ini"), [&](QFileDialog& d) {
        proposed = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
    });
    EXPECT_EQ(dialog.ShowSave(), path("x.ini"));
    EXPECT_EQ(proposed, "vorschlag.ini");
}

TEST_F(FileDialog, FolderChoice)
{
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("Layout")));
    dialog.setDialogTitle(QStringLiteral("Ordner wählen"));
    typeNext(QStringLiteral("Layout"), [](QFileDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Ordner wählen");
        EXPECT_EQ(d.fileMode(), QFileDialog::Directory);
    });
    EXPECT_EQ(dialog.ShowFolder(), path("Layout"));
    EXPECT_EQ(dialog.fileName(), path("Layout"));
    EXPECT_EQ(dialog.ShowFolder(), QString()) << "unscripted, so cancelled";
    EXPECT_EQ(dialog.fileName(), QString());
}

TEST_F(FileDialog, UnknownIntentionIsReported)
{
    dialog.setFlags(6148);
    EXPECT_EQ(dialog.CheckFlags(QStringLiteral("Drucken")), 6148);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].title, "CheckFlags");
    EXPECT_EQ(prompter.shown[0].text, "Unbekannte Intention: Drucken");
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Critical);
    EXPECT_EQ(dialog.CheckFlags(QStringLiteral("Open")), 6148);
    EXPECT_EQ(prompter.shown.size(), 1);
}
