#pragma once

#include "SimProcess.h"
#include "UserHand.h"

#include "catalogue/EntryKind.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class CLeftView;
class CMainFrame;
class CRightView;
class QAbstractButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

QByteArray FileBytes(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);
// A demo data file as the instrument sends it: every line ends in CR LF.
QByteArray SentLines(const QString& relative);
// GSI point blocks of a stake-out file, one per line.
QByteArray StakeOut(int points);
// The text of a dialog's label, combo box or line edit of that name.
QString Text(QWidget* dialog, const char* name);

// The stationlink window connected to the simulated instrument on COM1,
// with a desktop folder of its own expanded in the PC tree, for tests that
// act as a user's hand: they derive from it, start it in init() and stop it
// in cleanup().
class SimDesk : public QObject {
protected:
    // trafficLog: switched on in the Options menu before the port is expanded.
    void Start(const std::vector<std::string>& simOptions, const QString& trafficLog = {});
    void Stop();
    QTreeWidgetItem* Node(EntryKind kind, const QString& entry, const QString& detail = {}) const;
    QStringList Details(EntryKind kind, const QString& entry) const;
    void RightClick(QTreeWidgetItem* item);
    void PressKeyOn(QTreeWidget* tree, QTreeWidgetItem* item, Qt::Key key);
    QTreeWidgetItem* PortItem() const;
    QAbstractButton* CommandButton(int command) const;
    void WaitForTheEnd();
    QString Desk(const QString& name = {}) const { return temp_.filePath("desk/" + name); }

    QTemporaryDir temp_;
    // Given to the view before the port is expanded, when set.
    std::chrono::milliseconds silenceLimit_{0};
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<UserHand> hand_;
    CLeftView* view_ = nullptr;
    CRightView* pc_ = nullptr;
};
