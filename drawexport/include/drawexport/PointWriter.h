#pragma once

#include "drawexport/ExportSettings.h"
#include "fielddata/PointExtents.h"
#include "fielddata/PointSink.h"

#include <memory>
#include <string>

// Writes the points it is handed into one output file. Blocks without a
// point are not its concern. After a failure the writer takes no more
// points and Error() says why.
class PointWriter : public PointSink {
public:
    // The writer for the settings' format.
    static std::unique_ptr<PointWriter> For(const ExportSettings& settings);

    // extents: of all the points that will come, for the file's header.
    virtual bool Open(const std::string& path, const PointExtents& extents) = 0;
    // Finishes the file; false when it could not be written whole.
    virtual bool Close() = 0;
    virtual const std::string& Error() const = 0;

    void OnSkipped(const SkippedBlock& /*block*/) override {}
};
