#include "transfer/DownloadFileSink.h"

#include "protocol/TransferRequest.h"
#include "transfer/LocalPath.h"
#include "transfer/PointFile.h"

DownloadFileSink::DownloadFileSink() = default;

DownloadFileSink::~DownloadFileSink() = default;

void DownloadFileSink::Begin(const TransferRequest& request) {
    path_ = LocalPath::FromWide(request.jobLabel);
    ifExists_ = request.replacesPcFile ? DestinationFile::IfExists::Replace
                                       : DestinationFile::IfExists::Keep;
    converted_ = request.pcFormat == u"CASS";
    lines_ = 0;
    points_ = 0;
    file_.reset();
    collected_ = {};
    failure_.clear();
}

bool DownloadFileSink::OnDataLine(std::string_view line) {
    if (!failure_.empty()) {
        return false;
    }
    ++lines_;
    return converted_ ? CollectLine(line) : WriteLine(line);
}

std::size_t DownloadFileSink::DataLines() const {
    return lines_ > 0 ? lines_ - 1 : 0;
}

void DownloadFileSink::Fail(const std::string& why) {
    failure_ = why;
}

bool DownloadFileSink::WriteLine(std::string_view line) {
    if (lines_ == 1) {
        file_ = std::make_unique<DestinationFile>(path_, ifExists_);
        if (!file_->Create()) {
            Fail(file_->Error());
        }
        return false;
    }
    file_->Write(line);
    if (!file_->Flush()) {
        Fail(file_->Error());
        return false;
    }
    return true;
}

// The point file is written only at the end, but a destination that cannot
// be created ends the transfer at its first line.
bool DownloadFileSink::CollectLine(std::string_view line) {
    if (lines_ == 1) {
        DestinationFile probe(path_, ifExists_);
        if (!probe.CanCreate()) {
            Fail(probe.Error());
            return false;
        }
    }
    collected_.append(line);
    return true;
}

bool DownloadFileSink::Complete() {
    if (!failure_.empty()) {
        return false;
    }
    if (converted_) {
        return CompleteConverted();
    }
    // A file that could not take its name stays for KeepPartial.
    if (file_ && !file_->Commit()) {
        Fail(file_->Error());
        return false;
    }
    file_.reset();
    return true;
}

bool DownloadFileSink::CompleteConverted() {
    std::string error;
    const PointFile::Result result =
        PointFile::Write(path_, collected_, ifExists_, error, &points_);
    if (result == PointFile::Result::Written) {
        collected_ = {};
        return true;
    }
    Fail(error);
    // Data without coordinates leaves nothing; data the file failed stays
    // for KeepPartial.
    if (result == PointFile::Result::NoCoordinates) {
        collected_ = {};
    }
    return false;
}

std::string DownloadFileSink::KeepPartial() {
    if (converted_ && DataLines() > 0 && !collected_.empty()) {
        // Only its partial file is written, never the final name.
        file_ = std::make_unique<DestinationFile>(path_, DestinationFile::IfExists::Replace);
        if (file_->Create()) {
            file_->Write(collected_);
        }
    }
    collected_ = {};
    const bool kept = file_ && DataLines() > 0 && file_->KeepPartial();
    if (file_ && !kept) {
        file_->Discard();
    }
    const std::string partial = kept ? file_->PartialPath() : std::string();
    file_.reset();
    return partial;
}

void DownloadFileSink::Discard() {
    if (file_) {
        file_->Discard();
        file_.reset();
    }
    collected_ = {};
}
