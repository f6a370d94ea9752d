#include "routebook/LandXmlAlignment.h"

#include "routebook/DmsAngle.h"
#include "routebook/HorizontalAlignment.h"

#include "platform/CodePage.h"

#include <QString>
#include <QXmlStreamWriter>

#include <cmath>
#include <numbers>

namespace {

QString Number(double value) {
    return QString::number(value, 'f', 6);
}

QString Degrees(double radians) {
    return Number(DmsAngle::Normalised(radians) * 180 / std::numbers::pi);
}

QString Point(double east, double north) {
    return Number(north) + ' ' + Number(east);
}

QString Text(const std::string& wireBytes) {
    return QString::fromStdU16String(CodePage::Wire().ToWide(wireBytes));
}

void WritePiece(QXmlStreamWriter& xml, const HalElement& element,
                const HorizontalAlignment::Piece& piece) {
    const Clothoid::Pose a = piece.curve.At(0);
    const Clothoid::Pose b = piece.curve.At(piece.curve.Length());
    const auto rot = [&](double curvature) { return curvature > 0 ? "cw" : "ccw"; };
    if (piece.kind == HalElement::Kind::Straight) {
        xml.writeStartElement("Line");
        xml.writeAttribute("dir", Degrees(a.bearing));
        xml.writeAttribute("length", Number(element.length));
        xml.writeTextElement("Start", Point(a.east, a.north));
        xml.writeTextElement("End", Point(b.east, b.north));
    } else if (piece.kind == HalElement::Kind::Arc) {
        const double r = 1 / piece.startCurvature;
        xml.writeStartElement("Curve");
        xml.writeAttribute("rot", rot(piece.startCurvature));
        xml.writeAttribute("radius", Number(std::fabs(r)));
        xml.writeAttribute("length", Number(element.length));
        xml.writeAttribute("dirStart", Degrees(a.bearing));
        xml.writeAttribute("dirEnd", Degrees(b.bearing));
        xml.writeTextElement("Start", Point(a.east, a.north));
        xml.writeTextElement(
            "Center", Point(a.east + r * std::cos(a.bearing), a.north - r * std::sin(a.bearing)));
        xml.writeTextElement("End", Point(b.east, b.north));
    } else {
        const double k = piece.startCurvature != 0 ? piece.startCurvature : piece.endCurvature;
        const auto radius = [&](double c) {
            return c == 0 ? QString("INF") : Number(std::fabs(1 / c));
        };
        xml.writeStartElement("Spiral");
        xml.writeAttribute("rot", rot(k));
        xml.writeAttribute("length", Number(element.length));
        xml.writeAttribute("radiusStart", radius(piece.startCurvature));
        xml.writeAttribute("radiusEnd", radius(piece.endCurvature));
        xml.writeAttribute("spiType", "clothoid");
        xml.writeAttribute("dirStart", Degrees(a.bearing));
        xml.writeAttribute("dirEnd", Degrees(b.bearing));
        // The tangents' intersection: start + u * t0 = end - w * t1.
        const double t0e = std::sin(a.bearing), t0n = std::cos(a.bearing);
        const double t1e = std::sin(b.bearing), t1n = std::cos(b.bearing);
        const double de = b.east - a.east, dn = b.north - a.north;
        const double cross = t0e * t1n - t0n * t1e;
        const double u = std::fabs(cross) > 1e-15 ? (de * t1n - dn * t1e) / cross : 0;
        xml.writeTextElement("Start", Point(a.east, a.north));
        xml.writeTextElement("PI", Point(a.east + u * t0e, a.north + u * t0n));
        xml.writeTextElement("End", Point(b.east, b.north));
    }
    xml.writeEndElement();
}

} // namespace

std::string LandXmlAlignment::Write() const {
    QString text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement("LandXML");
    xml.writeDefaultNamespace("http://www.landxml.org/schema/LandXML-1.2");
    xml.writeAttribute("version", "1.2");
    xml.writeAttribute("date", "2000-01-01");
    xml.writeAttribute("time", "00:00:00");
    xml.writeStartElement("Units");
    xml.writeStartElement("Metric");
    xml.writeAttribute("linearUnit", "meter");
    xml.writeAttribute("areaUnit", "squareMeter");
    xml.writeAttribute("volumeUnit", "cubicMeter");
    xml.writeAttribute("angularUnit", "decimal degrees");
    xml.writeAttribute("directionUnit", "decimal degrees");
    xml.writeEndElement();
    xml.writeEndElement();

    const HorizontalAlignment line(elements);
    xml.writeStartElement("Alignments");
    xml.writeStartElement("Alignment");
    xml.writeAttribute("name", Text(name));
    xml.writeAttribute("length", Number(line.EndChainage() - line.StartChainage()));
    xml.writeAttribute("staStart", Number(line.StartChainage()));
    xml.writeStartElement("CoordGeom");
    for (const HorizontalAlignment::Piece& piece : line.Pieces()) {
        WritePiece(xml, elements[piece.element], piece);
    }
    xml.writeEndElement();
    if (!profile.empty()) {
        xml.writeStartElement("Profile");
        xml.writeAttribute("name", Text(name));
        xml.writeStartElement("ProfAlign");
        xml.writeAttribute("name", Text(name));
        for (const VerticalPoint& p : profile) {
            xml.writeStartElement(p.curveLength > 0 ? "ParaCurve" : "PVI");
            if (p.curveLength > 0) {
                xml.writeAttribute("length", Number(p.curveLength));
            }
            xml.writeCharacters(Number(p.chainage) + ' ' + Number(p.height));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return text.toStdString();
}
