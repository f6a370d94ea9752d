#include "drawexport/OgrOutput.h"

#include "drawexport/GdalSession.h"

#include <cpl_string.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace {

// GDAL wants a NULL-terminated list of C strings.
CPLStringList OptionList(const std::vector<std::string>& options) {
    CPLStringList list;
    for (const std::string& option : options) {
        list.AddString(option.c_str());
    }
    return list;
}

} // namespace

OgrOutput::OgrOutput() {
    GdalSession::Ensure();
}

OgrOutput::~OgrOutput() {
    if (dataset_ != nullptr) {
        dataset_->MarkSuppressOnClose();
        GDALClose(dataset_);
    }
}

bool OgrOutput::Fail(const std::string& fallback) {
    if (error_.empty()) {
        error_ = GdalSession::LastError(fallback);
    }
    return false;
}

bool OgrOutput::Create(const std::string& driverName, const std::string& path,
                       const std::vector<std::string>& datasetOptions) {
    CPLErrorReset();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName.c_str());
    if (driver == nullptr) {
        return Fail("GDAL has no " + driverName + " driver");
    }
    dataset_ =
        driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, OptionList(datasetOptions).List());
    return dataset_ != nullptr || Fail("cannot create the file");
}

bool OgrOutput::AddLayer(const std::string& name, OGRSpatialReference* srs, bool threeD,
                         const std::vector<std::string>& layerOptions) {
    layer_ = dataset_->CreateLayer(name.c_str(), srs, threeD ? wkbPoint25D : wkbPoint,
                                   OptionList(layerOptions).List());
    return layer_ != nullptr || Fail("cannot create the layer");
}

bool OgrOutput::AddTextField(const char* name) {
    OGRFieldDefn field(name, OFTString);
    return layer_->CreateField(&field) == OGRERR_NONE || Fail("cannot add the field");
}

bool OgrOutput::AddRealField(const char* name) {
    OGRFieldDefn field(name, OFTReal);
    return layer_->CreateField(&field) == OGRERR_NONE || Fail("cannot add the field");
}

std::unique_ptr<OGRFeature> OgrOutput::NewPointFeature() const {
    auto feature = std::make_unique<OGRFeature>(layer_->GetLayerDefn());
    feature->SetGeometryDirectly(new OGRPoint(0, 0, 0));
    return feature;
}

// The feature keeps its point: moving it costs no allocation per point.
void OgrOutput::MovePoint(OGRFeature& feature, double x, double y, std::optional<double> z) {
    auto* point = feature.GetGeometryRef()->toPoint();
    point->setX(x);
    point->setY(y);
    if (z) {
        point->setZ(*z);
    } else {
        point->flattenTo2D();
    }
}

bool OgrOutput::Write(OGRFeature& feature) {
    feature.SetFID(OGRNullFID);
    return layer_->CreateFeature(&feature) == OGRERR_NONE || Fail("cannot write a point");
}

void OgrOutput::BeginBatch() {
    inBatch_ = dataset_->StartTransaction() == OGRERR_NONE;
}

bool OgrOutput::EndBatch() {
    const bool wasInBatch = inBatch_;
    inBatch_ = false;
    return !wasInBatch || dataset_->CommitTransaction() == OGRERR_NONE ||
           Fail("cannot commit the points");
}

// GDAL finishes most files only when the dataset is closed, so a write
// failure may show only here.
bool OgrOutput::Close() {
    if (!EndBatch()) {
        return false;
    }
    CPLErrorReset();
    GDALDataset* dataset = dataset_;
    dataset_ = nullptr;
    layer_ = nullptr;
    GDALClose(dataset);
    return CPLGetLastErrorType() < CE_Failure || Fail("cannot finish the file");
}
