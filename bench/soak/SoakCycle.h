#pragma once

#include "CyclePlan.h"

#include <chrono>
#include <filesystem>
#include <string>

class TransferSession;

// One cycle of the fault soak against a fresh x4sim: connect (which lists the
// instrument), download a job part into a file, upload a file of known
// bytes, erase a job, disconnect. Every result is checked byte for byte: the
// listing against the reference listing, the downloaded file against the
// instrument's data lines, the upload against what x4sim received. A
// download that cannot end well (the item erased first, a line too long,
// the line lost) must fail with its reason, leave no file under its final
// name and keep exactly what arrived as the partial file.
class SoakCycle {
public:
    enum class Result {
        Passed,
        HungUp, // the planned hang-up ended the cycle and was reported as a failure
        Failed, // anything else went wrong; Why() says what
    };

    // work: a scratch folder of the soak; listing: the reference listing
    // (empty: the cycle's connect makes it, so run a clean plan first).
    SoakCycle(std::filesystem::path work, std::string& listing);

    Result Run(int cycle, const CyclePlan& plan);
    const std::string& Why() const { return why_; }

    // Waits this long for an answer before giving an operation up.
    static constexpr std::chrono::seconds kIdleTimeout{10};

private:
    Result Fail(std::string why);
    Result Steps(int cycle, const CyclePlan& plan, TransferSession& link,
                 const std::filesystem::path& received);
    bool CheckListing(const TransferSession& link);
    Result Download(int cycle, const CyclePlan& plan, TransferSession& link);
    Result CheckCutOff(const CyclePlan& plan, const TransferSession& link,
                       const std::filesystem::path& file);
    bool Reconnect(TransferSession& link, const std::filesystem::path& file);
    Result Upload(const CyclePlan& plan, TransferSession& link,
                  const std::filesystem::path& received);
    bool Erase(TransferSession& link);

    // The bytes the downloaded file must hold.
    static std::string Expected(const CyclePlan& plan);

    std::filesystem::path work_;
    // x4sim content whose job data hold a line longer than the engine takes.
    std::filesystem::path overlongContent_;
    std::filesystem::path uploadFile_;
    std::string uploadBytes_;
    std::string& listing_;
    std::string why_;
};
