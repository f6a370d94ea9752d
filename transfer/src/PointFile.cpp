#include "transfer/PointFile.h"

#include "transfer/CassConversion.h"
#include "transfer/DestinationFile.h"

bool PointFile::Write(const std::string& path, std::string_view collected, std::string& error) {
    DestinationFile file(path);
    if (file.Create()) {
        CassConversion(file).Convert(collected);
    }
    if (!file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}
