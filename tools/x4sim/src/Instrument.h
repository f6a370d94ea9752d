#pragma once

#include "InstrumentContent.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class UploadSink;

// One reply line of the instrument.
struct SimReply {
    std::string bytes;
    // 1, 2, ... for the data lines of a download (not its header, not the
    // end line); 0 for everything else.
    int dataIndex = 0;
    // 1, 2, ... for the answers to the data lines of an upload; 0 otherwise.
    int uploadIndex = 0;
};

// The instrument side of the serial protocol: takes each line the PC sends
// and answers with exactly one line (see docs/x4sim.md for the commands).
class Instrument {
public:
    static constexpr std::string_view kEndLine = "\x1A\r\n";

    explicit Instrument(InstrumentContent& content, UploadSink* sink = nullptr);

    // line: as received, with its line end.
    SimReply Handle(const std::string& line);
    // True while an upload's data lines are coming in: they are not commands.
    bool ReceivingUpload() const { return upload_.has_value(); }

private:
    using Category = InstrumentContent::Category;
    struct Upload {
        Category category;
        std::string id;
        std::string command;
        std::string reply;
        std::vector<std::string> lines;
    };
    struct Format {
        std::string arg = "0";
        std::string name = "GSI";
        std::string family = "GSI";
    };

    SimReply Command(std::string_view command);
    SimReply Reset();
    SimReply ReceiveData(const std::string& line);
    SimReply Config(std::string_view parameter) const;
    SimReply List(Category category);
    SimReply SetFormat(std::string_view arg);
    SimReply Receive(Category category, std::string_view rest);
    SimReply EraseItem(Category category, std::string_view rest);
    SimReply SelectJob(std::string_view rest);
    SimReply StartUpload(Category category, std::string_view id, std::string_view command);
    SimReply Next();
    SimReply Transfer(std::string header, std::vector<std::string> data);
    void Commit(const Upload& upload);
    void CommitRoad(Category category, const std::vector<std::string>& lines);
    std::string Reply(Category category, std::string_view id) const;
    void EndUpload(bool completed);

    static std::optional<std::string> PartOf(std::string_view code);
    static std::string DataBase(Category category, std::string_view id, std::string_view part);

    InstrumentContent& content_;
    UploadSink* sink_;
    Format format_;
    std::deque<SimReply> pending_;
    std::optional<Upload> upload_;
    std::optional<std::string> selectedJob_;
};
