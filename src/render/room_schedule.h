// RoomRow: one room of the schedule, its area in hundredths of m².

#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <vector>

#include "plan/casa_plan.h"

namespace casavo {

// One room of the schedule. Areas are kept in hundredths of a square metre,
// as shown, so that the total is the sum of the lines a reader adds up.
struct RoomRow {
  QString name;
  QString kind;
  QString colour;  // "RRGGBB"
  int64_t areaCents = 0;
  TPoint centre;
};

// The rooms of the plan in room order, found afresh from its walls whether or
// not the rooms are shown.
std::vector<RoomRow> RoomSchedule(TCasaPlan& plan);

int64_t TotalAreaCents(const std::vector<RoomRow>& rows);

// "12,35 m²" under a French locale.
QString FormatSquareMetres(int64_t cents, const QLocale& locale = QLocale());

// The schedule for a spreadsheet: UTF-8, a header line, ";" between fields,
// the area with the locale's decimal separator, then a total line.
QByteArray ScheduleCsv(const std::vector<RoomRow>& rows, const QLocale& locale = QLocale());

}  // namespace casavo
