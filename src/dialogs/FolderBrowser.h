#pragma once

#include <QDialog>

class QDialogButtonBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

// The window of the folder picker: a tree of the file system's folders (and
// files on request), an optional status line, an optional edit box, and OK and
// Cancel. cSHFolder creates one for each browse and drives it; its child
// widgets carry object names so that tests and tools can find them.
class FolderBrowser : public QDialog
{
    Q_OBJECT

public:
    struct Options
    {
        QString title;          // text above the tree
        QString rootPath;       // top of the tree; "" for the whole file system
        QString validFolder;    // typed paths must match it as the OK button's selections do
        bool includeFiles = false;
        bool statusTextArea = false;
        bool editBox = false;
        bool newDialog = false;
    };

    FolderBrowser(const Options& options, QWidget* parent = nullptr);

    // Selects path in the tree and shows it; false when it is not there to select.
    bool selectPath(const QString& path);
    void setStatusText(const QString& text);
    void setOkEnabled(bool enabled);
    void centre();

    // Native path and display name of the accepted choice.
    QString chosenPath() const { return m_chosenPath; }
    QString chosenDisplayName() const { return m_chosenDisplayName; }
    // Native path of the item selected in the tree, "" when none.
    QString selectedPath() const;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

signals:
    void selectionChanged(const QString& path);
    // Raised for a typed path that cannot be chosen; cancel true closes the browser.
    void validationFailed(const QString& typed, bool& cancel);

private:
    void onCurrentChanged();
    void makeNewFolder();
    QString resolveTyped(const QString& typed) const;

    const Options m_options;
    QFileSystemModel* m_model;
    QTreeView* m_tree;
    QLabel* m_status;
    QLineEdit* m_edit;
    QPushButton* m_newFolder;
    QPushButton* m_ok;
    QString m_chosenPath;
    QString m_chosenDisplayName;
    bool m_centreOnShow = false;
};
