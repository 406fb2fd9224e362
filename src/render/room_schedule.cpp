// The room schedule: rows, areas, the CSV text.

#include "render/room_schedule.h"

#include <cmath>
#include <numeric>

namespace casavo {

namespace {

constexpr double kSquareMillimetresPerCent = 10000;  // 0.01 m²

QString Number(int64_t cents, const QLocale& locale) {
  QLocale plain = locale;
  plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
  return plain.toString(cents / 100.0, 'f', 2);
}

// A field that holds the separator or a quote goes between quotes.
QString CsvField(const QString& text) {
  if (!text.contains(';') && !text.contains('"') && !text.contains('\n')) return text;
  return '"' + QString(text).replace('"', QStringLiteral("\"\"")) + '"';
}

}  // namespace

std::vector<RoomRow> RoomSchedule(TCasaPlan& plan) {
  plan.RefreshGeometry();
  if (!plan.ShowRooms) plan.DetectRooms();
  std::vector<RoomRow> rows;
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    const TPiece& room = plan.Rooms[r];
    rows.push_back({QString::fromStdString(plan.RoomName(r)),
                    QString::fromStdString(plan.RoomKind(r)),
                    QString::fromStdString(plan.RoomColour(r)),
                    std::llround(room.surface / kSquareMillimetresPerCent), room.Centre});
  }
  return rows;
}

int64_t TotalAreaCents(const std::vector<RoomRow>& rows) {
  return std::accumulate(rows.begin(), rows.end(), int64_t{0},
                         [](int64_t sum, const RoomRow& row) { return sum + row.areaCents; });
}

QString FormatSquareMetres(int64_t cents, const QLocale& locale) {
  return Number(cents, locale) + QStringLiteral(" m²");
}

QByteArray ScheduleCsv(const std::vector<RoomRow>& rows, const QLocale& locale) {
  QString csv = QStringLiteral("Pièce;Type;Surface (m²)\n");
  for (const RoomRow& row : rows)
    csv +=
        CsvField(row.name) + ';' + CsvField(row.kind) + ';' + Number(row.areaCents, locale) + '\n';
  csv += QStringLiteral("Total;;") + Number(TotalAreaCents(rows), locale) + '\n';
  return csv.toUtf8();
}

}  // namespace casavo
