#pragma once

#include "routebook/AlignmentFiles.h"
#include "routebook/AlignmentIssue.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <vector>

// The alignment open in the window: its horizontal and vertical files (each
// may be missing) with the paths they came from, and every edit as an undo
// step. Saving writes the files' bytes, so untouched lines stay as read.
class AlignmentDocument : public QObject {
    Q_OBJECT
public:
    explicit AlignmentDocument(QObject* parent = nullptr);

    // .hal, .val or LandXML (.xml: both parts, to be saved under new names).
    // False with the reason in error; the document is unchanged then.
    bool Open(const QString& path, QString& error);
    // The parts that have a path; false with the reason when one failed.
    // The document counts as saved once no part with content lacks a path.
    bool Save(QString& error);
    bool HalNeedsPath() const;
    bool ValNeedsPath() const;
    bool SaveHalAs(const QString& path, QString& error);
    bool SaveValAs(const QString& path, QString& error);
    bool ExportLandXml(const QString& path, QString& error) const;

    const HalFile& Hal() const { return hal_; }
    const ValFile& Val() const { return val_; }
    const QString& HalPath() const { return halPath_; }
    const QString& ValPath() const { return valPath_; }
    std::vector<AlignmentIssue> Issues() const;
    bool IsModified() const { return !undo_.isClean(); }
    QUndoStack* UndoStack() { return &undo_; }

    // Edits, each one undo step; text names it in the Edit menu.
    void Change(const HalFile& hal, const ValFile& val, const QString& text);

signals:
    void Changed();

private:
    friend class SnapshotCommand;
    void Restore(const HalFile& hal, const ValFile& val);
    bool Write(const QString& path, const std::string& bytes, QString& error) const;
    bool SavePartAs(QString& partPath, const std::string& bytes, const QString& path,
                    QString& error);

    HalFile hal_;
    ValFile val_;
    QString halPath_;
    QString valPath_;
    QUndoStack undo_;
};
