#pragma once

#include "workbench/CMainFrame.h"
#include "workbench/CTreeViewExtc.h"
#include "workbench/PcFilterTarget.h"
#include "workbench/TransferRecord.h"

#include <QThread>

#include <memory>
#include <vector>

// A tree pane that records every user message it gets, with a copy of the
// TransferRecord of the drag and download messages, and answers UM_DRAG_SOURCE as told.
class RecordingTree : public CTreeViewExtc {
public:
    struct Received {
        UserMessage message;
        WParam wParam;
        LParam lParam;
        TransferRecord record;
        bool onOwnThread;
    };

    explicit RecordingTree(QWidget* parent = nullptr) : CTreeViewExtc(parent) {}

    std::vector<Received> received;
    LResult sourceAnswer = 1;
    int initialUpdates = 0;

    void OnInitialUpdate() override { ++initialUpdates; }

    // The messages of one kind, in the order they came.
    std::vector<Received> ReceivedOf(UserMessage message) const {
        std::vector<Received> found;
        for (const Received& entry : received) {
            if (entry.message == message) {
                found.push_back(entry);
            }
        }
        return found;
    }

protected:
    LResult OnUserMessage(UserMessage message, WParam wParam, LParam lParam) override {
        Received entry{message, wParam, lParam, {}, QThread::currentThread() == thread()};
        if ((message == UM_DRAG_SOURCE || message == UM_DROP_TARGET || message == UM_DOWNLOAD) &&
            lParam != 0) {
            entry.record = *FromLParam<TransferRecord>(lParam);
        }
        received.push_back(entry);
        return message == UM_DRAG_SOURCE ? sourceAnswer : 0;
    }
};

// The PC side as the frame sees it: a filter and a current item to re-list.
class RecordingPcTree : public RecordingTree, public PcFilterTarget {
public:
    using RecordingTree::RecordingTree;

    QString filter = QStringLiteral("*.*");
    bool hasCurrentItem = false;
    int relisted = 0;
    int refreshed = 0;

    QString Filter() const override { return filter; }
    void SetFilter(const QString& pattern) override { filter = pattern; }
    void RelistCurrentItem() override {
        if (hasCurrentItem) {
            ++relisted;
        }
    }
    void Refresh() override { ++refreshed; }
};

// A created frame whose tree panes are recording trees; null when creation failed.
template <typename PcTree>
std::unique_ptr<CMainFrame> MakeRecordingFrame(RecordingTree*& instrument, PcTree*& pc) {
    PaneFactories factories;
    factories.instrumentTree = [&instrument](QWidget* parent) {
        return instrument = new RecordingTree(parent);
    };
    factories.pcTree = [&pc](QWidget* parent) { return pc = new PcTree(parent); };
    auto frame = std::make_unique<CMainFrame>(factories);
    return frame->Create() ? std::move(frame) : nullptr;
}
