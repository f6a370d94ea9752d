#pragma once

#include "alignedit/AlignTextCodec.h"

#include <QObject>
#include <QString>
#include <QTextOption>

class QTextBlock;
class QTextDocument;
class QWidget;
class UserDialogs;

// One open file (or a new one): its text, shared by all its views, its path,
// its title and the modified flag. The text is the file's bytes in the wire
// code page; storing writes it back byte for byte.
class CAlignEditDoc : public QObject {
    Q_OBJECT

public:
    explicit CAlignEditDoc(const QString& title, QObject* parent = nullptr);
    ~CAlignEditDoc() override;

    QTextDocument* TextDocument() const { return text_; }
    // The file name shown in the window titles.
    const QString& Title() const { return title_; }
    // Empty for a new document that was never saved under its own name.
    const QString& PathName() const { return path_; }
    LineEnd LineEnding() const { return lineEnd_; }
    // How the views wrap the text: at word boundaries, or anywhere once it
    // holds a run without blanks longer than kLongestWordRun. Qt's layout
    // looks for a word boundary to the end of such a run for every screen
    // line it makes, which takes time growing with the square of its length.
    QTextOption::WrapMode WrapMode() const { return wrapMode_; }
    static constexpr int kLongestWordRun = 256;

    // A line longer than kPieceLength is held in blocks of that many
    // characters, each after the first marked as continuing the line: Qt
    // lays out a block whole, and a block of megabytes would keep the window
    // from showing the file for seconds. Text() joins the pieces again.
    static constexpr int kPieceLength = 4096;
    // Whether a block continues the line of the block before it.
    static bool ContinuesLine(const QTextBlock& block);
    // Makes the blocks an edit between two positions made lines of their
    // own: Qt gives a new block the format of the block it split.
    void MarkNewLines(int from, int to);

    bool IsModified() const;
    void SetModified(bool modified);

    // The text as the editor holds it, one '\n' per line end.
    QString Text() const;

    // Reads the file into the text; on failure the document is unchanged and
    // error says why.
    bool OnOpenDocument(const QString& path, QString& error);
    // Writes the whole text to path; on failure nothing changed, on disk or
    // here, and error says why. Leaves name, path and modified flag alone.
    bool Store(const QString& path, QString& error) const;
    // Gives the document the file's name and path.
    void SetPathName(const QString& path);

    // The framework's save: to the document's own path, or to a name asked
    // for. Reports failures; false when nothing was saved.
    bool DoFileSave(QWidget* parent, UserDialogs& dialogs);
    // Asks "Save changes to %1?" for a modified document; false when the
    // user cancelled or the save failed, so the document must stay open.
    bool SaveModified(QWidget* parent, UserDialogs& dialogs);

    // Message texts for failures.
    static QString OpenFailure(const QString& path, const QString& reason);
    static QString SaveFailure(const QString& path, const QString& reason);

signals:
    void ModifiedChanged(bool modified);
    void TitleChanged(const QString& title);
    // Saved under a new name by the framework's save.
    void SavedAs(const QString& path);
    void WrapModeChanged(QTextOption::WrapMode mode);

private:
    void SetTextInPieces(const QString& text);
    void OnContentsChange(int position, int charsRemoved, int charsAdded);
    void WrapAnywhereFor(const QString& text);

    QTextDocument* text_;
    QString title_;
    QString path_;
    LineEnd lineEnd_ = LineEnd::CrLf;
    QTextOption::WrapMode wrapMode_ = QTextOption::WrapAtWordBoundaryOrAnywhere;
};
