#include "drawexport/GdalSession.h"

#include <cpl_error.h>
#include <gdal.h>
#include <ogr_spatialref.h>

#include <mutex>

void GdalSession::Ensure() {
    static std::once_flag once;
    std::call_once(once, [] {
        CPLSetErrorHandler(CPLQuietErrorHandler);
        GDALAllRegister();
    });
}

std::string GdalSession::LastError(const std::string& fallback) {
    const char* message = CPLGetLastErrorMsg();
    return message != nullptr && *message != '\0' ? std::string(message) : fallback;
}

bool GdalSession::KnowsEpsg(int epsg) {
    return Srs(epsg) != nullptr;
}

std::unique_ptr<OGRSpatialReference> GdalSession::Srs(int epsg) {
    Ensure();
    auto srs = std::make_unique<OGRSpatialReference>();
    if (epsg <= 0 || srs->importFromEPSG(epsg) != OGRERR_NONE) {
        return nullptr;
    }
    srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}
