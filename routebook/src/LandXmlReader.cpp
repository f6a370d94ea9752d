#include "routebook/LandXmlAlignment.h"

#include "routebook/FieldNumbers.h"
#include "routebook/HorizontalAlignment.h"

#include "platform/CodePage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <cmath>
#include <map>
#include <numbers>

namespace {

struct XY {
    double east = 0;
    double north = 0;
};

// One CoordGeom element as the file gives it.
struct Geometry {
    QString kind;
    std::map<QString, QString> attributes;
    std::map<QString, XY> points; // Start, End, Center, PI
    std::size_t index = 0;        // 0-based among the CoordGeom elements
};

constexpr double kGap = 0.001; // metres
constexpr double kKink = 5e-6; // radians, about one second

std::string Wire(const QString& text) {
    return CodePage::Wire().ToAnsi(text.toStdU16String());
}

std::optional<XY> ParsePoint(const QString& text) {
    const QStringList parts = text.simplified().split(' ');
    bool okN = false, okE = false;
    if (parts.size() < 2) {
        return std::nullopt;
    }
    const double north = parts[0].toDouble(&okN);
    const double east = parts[1].toDouble(&okE);
    if (!okN || !okE) {
        return std::nullopt;
    }
    return XY{east, north};
}

double BearingOf(XY from, XY to) {
    return std::atan2(to.east - from.east, to.north - from.north);
}

double AngleBetween(double a, double b) {
    return std::remainder(a - b, 2 * std::numbers::pi);
}

std::optional<double> Attribute(const Geometry& g, const char* name) {
    const auto it = g.attributes.find(name);
    if (it == g.attributes.end()) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = it->second.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

class Converter {
public:
    Converter(std::vector<AlignmentIssue>& issues) : issues_(issues) {}

    void Add(const Geometry& g, LandXmlAlignment& out) {
        const std::string where =
            "element " + std::to_string(g.index + 1) + " (" + g.kind.toStdString() + ")";
        const auto point = [&](const char* name) -> std::optional<XY> {
            const auto it = g.points.find(name);
            return it == g.points.end() ? std::nullopt : std::optional<XY>(it->second);
        };
        const auto start = point("Start");
        const auto end = point("End");
        if (!start || !end) {
            issues_.push_back({where, "needs a Start and an End point"});
            return;
        }
        const double sign = g.attributes.count("rot") && g.attributes.at("rot") == "ccw" ? -1 : 1;
        HalElement e;
        double direction = BearingOf(*start, *end);
        if (g.kind == "Line") {
            e.kind = HalElement::Kind::Straight;
            e.length = std::hypot(end->east - start->east, end->north - start->north);
        } else if (g.kind == "Curve") {
            const auto center = point("Center");
            if (!center) {
                issues_.push_back({where, "needs a Center point"});
                return;
            }
            const double r =
                Attribute(g, "radius")
                    .value_or(std::hypot(start->east - center->east, start->north - center->north));
            e.kind = HalElement::Kind::Arc;
            e.radius = sign * r;
            direction = BearingOf(*start, *center) - sign * std::numbers::pi / 2;
            const double turn =
                std::fabs(AngleBetween(BearingOf(*center, *end), BearingOf(*center, *start)));
            e.length = Attribute(g, "length").value_or(r * turn);
        } else {
            const auto pi = point("PI");
            const QString rs =
                g.attributes.count("radiusStart") ? g.attributes.at("radiusStart") : "";
            const QString re = g.attributes.count("radiusEnd") ? g.attributes.at("radiusEnd") : "";
            const bool startInf = rs.compare("INF", Qt::CaseInsensitive) == 0;
            const bool endInf = re.compare("INF", Qt::CaseInsensitive) == 0;
            const auto length = Attribute(g, "length");
            if (!pi || !length || startInf == endInf) {
                issues_.push_back({where, startInf == endInf
                                              ? "only spirals between a straight and a radius "
                                                "can be kept"
                                              : "needs a PI point and a length"});
                return;
            }
            e.kind = HalElement::Kind::Spiral;
            e.length = *length;
            e.radius = sign * (startInf ? re : rs).toDouble();
            direction = BearingOf(*start, *pi);
        }
        if (out.elements.empty()) {
            HalElement first;
            first.kind = HalElement::Kind::Start;
            first.chainage = chainage_;
            first.east = start->east;
            first.north = start->north;
            first.bearing = direction;
            out.elements.push_back(first);
            line_.Append(first, 0);
        } else if (const auto at = line_.At(line_.EndChainage())) {
            const double gap = std::hypot(at->east - start->east, at->north - start->north);
            if (gap > kGap) {
                issues_.push_back({where, "a gap of " + FieldNumbers::Format(gap) +
                                              " m after the element before it"});
            } else if (std::fabs(AngleBetween(at->bearing, direction)) > kKink) {
                issues_.push_back({where, "a kink of " +
                                              FieldNumbers::Format(
                                                  std::fabs(AngleBetween(at->bearing, direction)) *
                                                      180 / std::numbers::pi * 3600,
                                                  1) +
                                              " seconds after the element before it"});
            }
        }
        out.elements.push_back(e);
        line_.Append(e, out.elements.size() - 1);
        // Our own geometry must land where the file says the element ends;
        // otherwise the file means a spiral the other way round, or a
        // length or radius that do not fit its points.
        const auto reached = line_.At(line_.EndChainage());
        const double miss = std::hypot(reached->east - end->east, reached->north - end->north);
        if (miss > kGap) {
            issues_.push_back(
                {where, "ends " + FieldNumbers::Format(miss) + " m from its End point"});
        }
    }

    double chainage_ = 0;

private:
    std::vector<AlignmentIssue>& issues_;
    HorizontalAlignment line_{{}}; // the elements so far
};

} // namespace

LandXmlAlignment LandXmlAlignment::Read(std::string_view bytes,
                                        std::vector<AlignmentIssue>& issues) {
    LandXmlAlignment out;
    QXmlStreamReader xml(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    Converter converter(issues);
    int alignments = 0;
    bool inProfile = false;
    bool inCoordGeom = false;
    bool profileDone = false;
    std::optional<Geometry> current;
    std::size_t geometryCount = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        const QString name = xml.name().toString();
        if (token == QXmlStreamReader::EndElement) {
            if (name == "Alignment" && alignments == 1) {
                break;
            }
            if (name == "CoordGeom") {
                inCoordGeom = false;
            } else if (name == "Profile") {
                inProfile = false;
                profileDone = true;
            } else if (current && name == current->kind) {
                converter.Add(*current, out);
                current.reset();
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto attrs = xml.attributes();
        if (name == "Alignment") {
            ++alignments;
            out.name = Wire(attrs.value("name").toString());
            converter.chainage_ = attrs.value("staStart").toDouble();
        } else if (alignments != 1) {
            continue;
        } else if (name == "CoordGeom") {
            inCoordGeom = true;
        } else if (name == "Profile") {
            inProfile = !profileDone;
        } else if (inCoordGeom && !current) {
            const std::size_t index = geometryCount++;
            if (name == "Line" || name == "Curve" || name == "Spiral") {
                current = Geometry{name, {}, {}, index};
                for (const auto& a : attrs) {
                    current->attributes[a.name().toString()] = a.value().toString();
                }
            } else {
                issues.push_back(
                    {"element " + std::to_string(index + 1) + " (" + name.toStdString() + ")",
                     "not a line, curve or clothoid"});
                xml.skipCurrentElement();
            }
        } else if (current) {
            if (const auto p = ParsePoint(xml.readElementText())) {
                current->points[name] = *p;
            }
        } else if (inProfile && (name == "PVI" || name == "ParaCurve")) {
            const double length = attrs.value("length").toDouble();
            const QString text = xml.readElementText();
            const QStringList parts = text.simplified().split(' ');
            bool okS = false, okH = false;
            const double station = parts.value(0).toDouble(&okS);
            const double height = parts.value(1).toDouble(&okH);
            if (!okS || !okH) {
                issues.push_back({"profile point " + std::to_string(out.profile.size() + 1),
                                  "not \"station elevation\""});
                continue;
            }
            out.profile.push_back({station, height, name == "ParaCurve" ? length : 0});
        } else if (inProfile && (name == "CircCurve" || name == "UnsymParaCurve")) {
            issues.push_back({"profile point " + std::to_string(out.profile.size() + 1),
                              name.toStdString() + " is not a symmetric parabola"});
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError()) {
        issues.push_back({"LandXML", "line " + std::to_string(xml.lineNumber()) + ": " +
                                         xml.errorString().toStdString()});
    } else if (alignments == 0) {
        issues.push_back({"LandXML", "no Alignment"});
    }
    return out;
}
