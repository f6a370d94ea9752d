#include "alignedit/CAlignEditDoc.h"

#include "alignedit/AlignFile.h"
#include "alignedit/UserDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QTextDocument>

namespace {
AlignTextCodec Codec() {
    return AlignTextCodec(CodePage::Wire());
}

std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
} // namespace

CAlignEditDoc::CAlignEditDoc(const QString& title, QObject* parent)
    : QObject(parent), text_(new QTextDocument(this)), title_(title) {
    text_->setDocumentLayout(new QPlainTextDocumentLayout(text_));
    connect(text_, &QTextDocument::modificationChanged, this, &CAlignEditDoc::ModifiedChanged);
}

CAlignEditDoc::~CAlignEditDoc() = default;

bool CAlignEditDoc::IsModified() const {
    return text_->isModified();
}

void CAlignEditDoc::SetModified(bool modified) {
    text_->setModified(modified);
}

QString CAlignEditDoc::Text() const {
    // The raw text keeps no-break spaces; only the block separators change.
    QString text = text_->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
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
    text_->setPlainText(QString::fromStdU16String(decoded.text));
    lineEnd_ = decoded.lineEnd;
    SetModified(false);
    SetPathName(path);
    return true;
}

bool CAlignEditDoc::Store(const QString& path, QString& error) const {
    const AlignTextCodec::Encoded encoded = Codec().Encode(Text().toStdU16String(), lineEnd_);
    const std::string reason =
        encoded.ok ? AlignFile::Store(NativePath(path), encoded.bytes) : encoded.error;
    if (!reason.empty()) {
        error = SaveFailure(path, QString::fromStdString(reason));
        return false;
    }
    return true;
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
