#pragma once

#include "CliArguments.h"
#include "PortOptions.h"

#include "catalogue/CatalogueLink.h"

#include <chrono>
#include <memory>
#include <ostream>

// Opens the named port of the port list with the command's port options and
// connects as expanding the port in stationlink does. On failure it tells
// err why (one line) and sets the exit status.
class InstrumentSession {
public:
    // args: the port name is the first plain argument.
    bool Start(const CliArguments& args, std::ostream& err);

    CatalogueLink& Link() { return *link_; }
    std::chrono::milliseconds IdleTimeout() const { return timeout_; }
    int Status() const { return status_; }
    // Reports a failure of the link on err; returns the exit status.
    int Failed(std::ostream& err, const std::string& what);

private:
    std::unique_ptr<CatalogueLink> link_;
    std::chrono::milliseconds timeout_{};
    int status_ = 0;
};
