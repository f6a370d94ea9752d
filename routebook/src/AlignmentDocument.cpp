#include "routebook/AlignmentDocument.h"

#include "routebook/AlignmentCheck.h"
#include "routebook/AlignmentFileIo.h"
#include "routebook/LandXmlAlignment.h"

#include <QFileInfo>
#include <QUndoCommand>

// One edit: the files before and after it. Alignments are a few hundred
// lines at most, so whole copies are cheaper to get right than inverse
// operations.
class SnapshotCommand : public QUndoCommand {
public:
    SnapshotCommand(AlignmentDocument* document, HalFile hal, ValFile val, const QString& text)
        : QUndoCommand(text), document_(document), halBefore_(document->hal_),
          valBefore_(document->val_), halAfter_(std::move(hal)), valAfter_(std::move(val)) {}

    void undo() override { document_->Restore(halBefore_, valBefore_); }
    void redo() override { document_->Restore(halAfter_, valAfter_); }

private:
    AlignmentDocument* document_;
    HalFile halBefore_;
    ValFile valBefore_;
    HalFile halAfter_;
    ValFile valAfter_;
};

AlignmentDocument::AlignmentDocument(QObject* parent) : QObject(parent) {
    connect(&undo_, &QUndoStack::cleanChanged, this, &AlignmentDocument::Changed);
}

bool AlignmentDocument::Open(const QString& path, QString& error) {
    std::string bytes, reason;
    if (!AlignmentFileIo::Read(path.toStdString(), bytes, reason)) {
        error = QString::fromStdString(reason);
        return false;
    }
    switch (AlignmentFileIo::KindOf(path.toStdString())) {
    case AlignmentFileIo::Kind::Hal:
        hal_ = HalFile::Read(bytes);
        halPath_ = path;
        break;
    case AlignmentFileIo::Kind::Val:
        val_ = ValFile::Read(bytes);
        valPath_ = path;
        break;
    case AlignmentFileIo::Kind::LandXml: {
        std::vector<AlignmentIssue> issues;
        const LandXmlAlignment xml = LandXmlAlignment::Read(bytes, issues);
        if (!issues.empty()) {
            error = QString::fromStdString(issues.front().Text());
            return false;
        }
        hal_ = HalFile::Make(xml.elements);
        val_ = ValFile::Make(xml.profile);
        halPath_.clear();
        valPath_.clear();
        break;
    }
    default:
        error = path + ": not a .hal, .val or LandXML (.xml) file";
        return false;
    }
    undo_.clear();
    emit Changed();
    return true;
}

bool AlignmentDocument::Write(const QString& path, const std::string& bytes, QString& error) const {
    // The window's file dialog has asked before replacing a file.
    const std::string reason = AlignmentFileIo::Write(path.toStdString(), bytes, true);
    error = QString::fromStdString(reason);
    return reason.empty();
}

bool AlignmentDocument::Save(QString& error) {
    if ((!halPath_.isEmpty() && !Write(halPath_, hal_.Bytes(), error)) ||
        (!valPath_.isEmpty() && !Write(valPath_, val_.Bytes(), error))) {
        return false;
    }
    // Work only counts as saved when no part is left without a file.
    if (!HalNeedsPath() && !ValNeedsPath()) {
        undo_.setClean();
    }
    emit Changed();
    return true;
}

bool AlignmentDocument::SaveHalAs(const QString& path, QString& error) {
    return SavePartAs(halPath_, hal_.Bytes(), path, error);
}

bool AlignmentDocument::SaveValAs(const QString& path, QString& error) {
    return SavePartAs(valPath_, val_.Bytes(), path, error);
}

bool AlignmentDocument::SavePartAs(QString& partPath, const std::string& bytes, const QString& path,
                                   QString& error) {
    if (!Write(path, bytes, error)) {
        return false;
    }
    partPath = path;
    return Save(error);
}

bool AlignmentDocument::HalNeedsPath() const {
    return halPath_.isEmpty() && !hal_.Records().empty();
}

bool AlignmentDocument::ValNeedsPath() const {
    return valPath_.isEmpty() && !val_.Records().empty();
}

bool AlignmentDocument::ExportLandXml(const QString& path, QString& error) const {
    const LandXmlAlignment xml{
        QFileInfo(halPath_.isEmpty() ? path : halPath_).completeBaseName().toStdString(),
        hal_.Records(), val_.Records()};
    return Write(path, xml.Write(), error);
}

std::vector<AlignmentIssue> AlignmentDocument::Issues() const {
    std::vector<AlignmentIssue> issues;
    if (!hal_.Records().empty() || !hal_.Unreadable().empty()) {
        issues = AlignmentCheck::File(hal_);
    }
    if (!val_.Records().empty() || !val_.Unreadable().empty()) {
        for (auto& issue : AlignmentCheck::File(val_)) {
            issue.where = "vertical " + issue.where;
            issues.push_back(std::move(issue));
        }
    }
    return issues;
}

void AlignmentDocument::Change(const HalFile& hal, const ValFile& val, const QString& text) {
    undo_.push(new SnapshotCommand(this, hal, val, text));
}

void AlignmentDocument::Restore(const HalFile& hal, const ValFile& val) {
    hal_ = hal;
    val_ = val;
    emit Changed();
}
