#include "CFileDialog.h"
#include "FileDialogRules.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString nuls(const QStringList& parts) { return parts.join(QChar(u'\0')); }

} // namespace

TEST(FileDialogRules, FilterListFromTheSettings)
{
    using Pairs = std::array<QString, 5>;
    const QString allFiles = nuls({"Alle Dateien", "*.*", "", ""});
    const struct { QString filter; Pairs texts; Pairs suffixes; QString expected; } cases[] = {
        {{}, {}, {}, allFiles},
        {{}, {"", "INI-Dateien"}, {}, allFiles}, // a pair without pattern is left out
        {{}, {}, {"", "*.ini"}, allFiles},
        {{}, {"Layout", "", "Schriften"}, {"*.ini", "*.bmp", "*.ttf"}, nuls({"Layout", "*.ini", "Schriften", "*.ttf", "", ""})},
        {nuls({"Bilder", "*.bmp", "", ""}), {"Layout"}, {"*.ini"}, nuls({"Bilder", "*.bmp", "Layout", "*.ini", "", ""})},
        {nuls({"Bilder", "*.bmp"}), {}, {}, nuls({"Bilder", "*.bmp", "", ""})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildFilterList(c.filter, c.texts, c.suffixes), c.expected);

    EXPECT_EQ(NameFiltersOf(allFiles), QStringList{"Alle Dateien (*)"});
    EXPECT_EQ(NameFiltersOf(nuls({"Layout", "*.ini;*.txt", "Rest", "", ""})), QStringList{"Layout (*.ini *.txt)"});
}

TEST(FileDialogRules, FlagsByIntention)
{
    const struct { qint32 flags; bool multiSelect; const char* intention; std::optional<qint32> expected; } cases[] = {
        {0, false, "Open", 6148}, {0, true, "Open", 530948}, {0, false, "Save", 2054}, {0, true, "Save", 2054},
        {6148, true, "Open", 530948}, // the skin manager's settings
        {2, true, "Save", 524802}, {0, false, "Drucken", std::nullopt}, {7, true, "open", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FlagsForIntention(c.flags, c.multiSelect, QString::fromLatin1(c.intention)), c.expected)
            << c.flags << " " << c.intention;
}

class FileDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"a.ini", "b.ini", "c.ini", "font.ttf"})
            writeFile(path(name), "");
        dialog.setDefaultDir(tmp.path());
    }

    QString path(const QString& name) const { return QDir::toNativeSeparators(tmp.path() + u'/' + name); }

    // Enters typed in the name field of the next dialog and presses Return.
    void typeNext(const QString& typed, std::function<void(QFileDialog&)> check = {})
    {
        prompter.onDialog([this, typed, check](QObject& o) {
            auto& d = dynamic_cast<QFileDialog&>(o);
            d.show();
            if (check)
                check(d);
            auto* edit = d.findChild<QLineEdit*>("fileNameEdit");
            QApplication::setActiveWindow(&d);
            edit->setFocus();
            // Pasted rather than typed, so that the completer's popup stays shut.
            edit->setText(typed);
            // A question of Qt's own (missing or existing file) is answered with Escape.
            QTimer::singleShot(0, &d, [this, &d] {
                if (QWidget* box = QApplication::activeModalWidget(); box && box != &d) {
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

TEST_F(FileDialog, SkinManagerChoosesSeveralFilesOfItsFilters)
{
    dialog.setMultiSelect(true);
    dialog.setFlags(6148);
    dialog.setFilter1Text("Layout");
    dialog.setFilter1Suffix("*.ini");
    dialog.setFilter2Text("Schriften");
    typeNext("\"b.ini\" \"c.ini\" \"a.ini\"", [](QFileDialog& d) {
        EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFiles);
        EXPECT_EQ(d.nameFilters(), QStringList{"Layout (*.ini)"});
    });

    const QString first = dialog.ShowOpen();
    EXPECT_EQ(dialog.fileName(), first);
    ASSERT_EQ(dialog.FileCount(), 3);
    // The skin manager takes FileCount - 1 names and then fileName.
    QStringList all{first, dialog.GetNextFile(), dialog.GetNextFile()};
    EXPECT_EQ(dialog.GetNextFile(), "");
    for (QString& file : selected)
        file = QDir::toNativeSeparators(file);
    EXPECT_EQ(all, selected) << "in the dialog's order";
    all.sort();
    EXPECT_EQ(all, QStringList({path("a.ini"), path("b.ini"), path("c.ini")}));

    // A missing file is refused; the cancelled dialog forgets the previous choice.
    typeNext("fehlt.ini");
    EXPECT_EQ(dialog.ShowOpen(), "");
    EXPECT_EQ(extraBoxes, 1) << "Qt tells about the missing file";
    EXPECT_EQ(dialog.FileCount(), 0);
    EXPECT_EQ(dialog.GetNextFile(), "");
}

TEST_F(FileDialog, SaveProposesTheDefaultNameThenTheLastFileAndUsesTheSaveFlagsAfterOpen)
{
    const auto proposes = [](const char* name) {
        return [name](QFileDialog& d) {
            EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
            EXPECT_EQ(d.findChild<QLineEdit*>("fileNameEdit")->text(), name);
        };
    };
    dialog.setDefaultFileName("vorschlag.ini");
    dialog.setDefaultExt("ini");
    typeNext("x.ini", proposes("vorschlag.ini"));
    ASSERT_EQ(dialog.ShowSave(), path("x.ini"));
    typeNext("a.ini");
    ASSERT_EQ(dialog.ShowOpen(), path("a.ini"));
    typeNext("neu", proposes("a.ini"));
    EXPECT_EQ(dialog.ShowSave(), path("neu.ini"));
    EXPECT_EQ(dialog.fileName(), path("neu.ini"));
    EXPECT_EQ(extraBoxes, 0);
}
