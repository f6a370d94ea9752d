#include "coordbook/BookRecord.h"

void BookRecord::SetPoint(std::string_view name, std::string_view code,
                          const ExactCoordinates& at) {
    kind = Kind::Point;
    point.name = name;
    point.code = code;
    point.line = line;
    point.origin = SurveyPoint::Origin::Given;
    exact = at;
    at.Fill(point);
}
