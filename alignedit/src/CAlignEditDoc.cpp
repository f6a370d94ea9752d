#include "alignedit/CAlignEditDoc.h"

#include "alignedit/AlignFile.h"
#include "alignedit/UserDialogs.h"
#include "platform/SafeFileStore.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {
AlignTextCodec Codec() {
    return AlignTextCodec(CodePage::Wire());
}

std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Marks a block that continues the line of the block before it.
constexpr int kContinuesLine = QTextFormat::UserProperty;

QTextBlockFormat ContinuationFormat() {
    QTextBlockFormat format;
    format.setProperty(kContinuesLine, true);
    return format;
}

// Where a piece of a long line may end: not between the two halves of a
// surrogate pair.
qsizetype PieceEnd(const QString& text, qsizetype start, qsizetype lineEnd) {
    qsizetype end = std::min(start + CAlignEditDoc::kPieceLength, lineEnd);
    if (end < lineEnd && text.at(end - 1).isHighSurrogate()) {
        --end;
    }
    return end;
}

bool HasLongRunWithoutBlanks(QStringView text) {
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > CAlignEditDoc::kLongestWordRun) {
            return true;
        }
    }
    return false;
}
} // namespace

CAlignEditDoc::CAlignEditDoc(const QString& title, QObject* parent)
    : QObject(parent), text_(new QTextDocument(this)), title_(title) {
    text_->setDocumentLayout(new QPlainTextDocumentLayout(text_));
    connect(text_, &QTextDocument::modificationChanged, this, &CAlignEditDoc::ModifiedChanged);
    connect(text_, &QTextDocument::contentsChange, this, &CAlignEditDoc::OnContentsChange);
}

CAlignEditDoc::~CAlignEditDoc() = default;

bool CAlignEditDoc::IsModified() const {
    return text_->isModified();
}

void CAlignEditDoc::SetModified(bool modified) {
    text_->setModified(modified);
}

QString CAlignEditDoc::Text() const {
    // Block texts are raw: no-break spaces stay what they are.
    QString text;
    text.reserve(text_->characterCount());
    for (QTextBlock block = text_->begin(); block.isValid(); block = block.next()) {
        if (block != text_->begin() && !ContinuesLine(block)) {
            text += QLatin1Char('\n');
        }
        text += block.text();
    }
    return text;
}

bool CAlignEditDoc::ContinuesLine(const QTextBlock& block) {
    return block.isValid() && block.blockFormat().boolProperty(kContinuesLine);
}

void CAlignEditDoc::MarkNewLines(int from, int to) {
    const int last = text_->findBlock(to).blockNumber();
    for (QTextBlock block = text_->findBlock(from).next();
         block.isValid() && block.blockNumber() <= last; block = block.next()) {
        if (ContinuesLine(block)) {
            QTextCursor(block).setBlockFormat(QTextBlockFormat());
        }
    }
}

void CAlignEditDoc::SetTextInPieces(const QString& text) {
    QString pieces;
    pieces.reserve(text.size());
    QList<int> continued; // block numbers
    int blocks = 0;
    for (qsizetype start = 0;;) {
        const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = lineEnd < 0 ? text.size() : lineEnd;
        qsizetype piece = start;
        do {
            const qsizetype pieceEnd = PieceEnd(text, piece, end);
            if (piece != start) {
                pieces += QLatin1Char('\n');
                continued << blocks;
            }
            pieces += QStringView(text).mid(piece, pieceEnd - piece);
            ++blocks;
            piece = pieceEnd;
        } while (piece < end);
        if (lineEnd < 0) {
            break;
        }
        pieces += QLatin1Char('\n');
        start = lineEnd + 1;
    }
    text_->setPlainText(pieces);
    // Marking the pieces is part of opening, nothing to undo.
    text_->setUndoRedoEnabled(false);
    for (const int number : continued) {
        QTextCursor(text_->findBlockByNumber(number)).setBlockFormat(ContinuationFormat());
    }
    text_->setUndoRedoEnabled(true);
}

bool CAlignEditDoc::OnOpenDocument(const QString& path, QString& error) {
    const AlignFile::Loaded loaded = AlignFile::Load(NativePath(path));
    if (!loaded.ok) {
        error = OpenFailure(path, QString::fromStdString(loaded.error));
        return false;
    }
    const AlignTextCodec::Decoded decoded = Codec().Decode(loaded.bytes);
    if (!decoded.ok) {
        error = OpenFailure(path, QString::fromStdString(decoded.error));
        return false;
    }
    SetTextInPieces(QString::fromStdU16String(decoded.text));
    lineEnd_ = decoded.lineEnd;
    SetModified(false);
    SetPathName(path);
    return true;
}

bool CAlignEditDoc::Store(const QString& path, QString& error) const {
    const AlignTextCodec::Encoded encoded = Codec().Encode(Text().toStdU16String(), lineEnd_);
    const std::string reason =
        encoded.ok ? SafeFileStore::Replace(NativePath(path), encoded.bytes) : encoded.error;
    if (!reason.empty()) {
        error = SaveFailure(path, QString::fromStdString(reason));
        return false;
    }
    return true;
}

void CAlignEditDoc::OnContentsChange(int position, int /*charsRemoved*/, int charsAdded) {
    if (wrapMode_ == QTextOption::WrapAnywhere) {
        return;
    }
    // Opened, typed or pasted: only the lines the change touched can hold a
    // new run. The layout of the change follows this signal, so it already
    // wraps in the new way.
    const QTextBlock last = text_->findBlock(position + charsAdded);
    for (QTextBlock block = text_->findBlock(position); block.isValid(); block = block.next()) {
        WrapAnywhereFor(block.text());
        if (block == last) {
            break;
        }
    }
}

void CAlignEditDoc::WrapAnywhereFor(const QString& text) {
    if (wrapMode_ == QTextOption::WrapAnywhere || !HasLongRunWithoutBlanks(text)) {
        return;
    }
    wrapMode_ = QTextOption::WrapAnywhere;
    emit WrapModeChanged(wrapMode_);
}

void CAlignEditDoc::SetPathName(const QString& path) {
    path_ = QFileInfo(path).absoluteFilePath();
    title_ = QFileInfo(path).fileName();
    emit TitleChanged(title_);
}

bool CAlignEditDoc::DoFileSave(QWidget* parent, UserDialogs& dialogs) {
    QString path = path_;
    if (path.isEmpty()) {
        path = dialogs
                   .AskSaveName(parent, QStringLiteral("Save As"),
                                {QStringLiteral("All Files (*)")}, title_)
                   .path;
        if (path.isEmpty()) {
            return false;
        }
    }
    QString error;
    if (!Store(path, error)) {
        dialogs.ShowError(parent, error);
        return false;
    }
    SetModified(false);
    if (path != path_) {
        SetPathName(path);
        emit SavedAs(path_);
    }
    return true;
}

bool CAlignEditDoc::SaveModified(QWidget* parent, UserDialogs& dialogs) {
    if (!IsModified()) {
        return true;
    }
    switch (dialogs.AskYesNoCancel(parent, QStringLiteral("Save changes to %1?").arg(title_))) {
    case QMessageBox::Yes:
        return DoFileSave(parent, dialogs);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

QString CAlignEditDoc::OpenFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot open \"%1\": %2.").arg(QDir::toNativeSeparators(path), reason);
}

QString CAlignEditDoc::SaveFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot save \"%1\": %2.").arg(QDir::toNativeSeparators(path), reason);
}
