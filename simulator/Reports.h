#pragma once

// What the simulated engraver leaves behind: the plate as a picture, its strikes as CSV and a
// JSON summary of the session. Used by zuk-devsim on exit and by tests.

#include "simulator/Engraver.h"
#include "simulator/Plate.h"

#include <QImage>
#include <QJsonObject>
#include <QSize>
#include <QString>

#include <optional>

namespace zuk::sim {

// Grey value of a level code on the plate picture: 1 -> 64, 2 -> 128, 3 -> 192, 4 -> 255.
int plateGrey(int level);

// The plate on a black field, one pixel per cell: x = column, y = row step / 2 (a picture row
// is two motor steps). A cell struck more than once shows its highest level. The field is
// `field` when given, else just large enough for every strike; strikes outside it (or at
// negative positions) are left out. pass = 0 draws every pass, otherwise only that one.
QImage renderPlate(const Plate& plate, QSize field = {}, int pass = 0);

// "index,pass,column,row_steps,level,force", one line per strike in the order struck.
QString strikesCsv(const Plate& plate);

// Commands by kind, strikes by pass and level, resynchronisations, protocol violations,
// injected faults, modelled device time, the final machine state.
QJsonObject summaryJson(const Engraver& engraver);

// Each writes a whole file atomically; on failure returns false and describes why in error.
bool writePng(const QImage& image, const QString& path, QString* error);
bool writePlatePng(const Plate& plate, const QString& path, QString* error);
bool writeStrikesCsv(const Plate& plate, const QString& path, QString* error);
bool writeSummaryJson(const Engraver& engraver, const QString& path, QString* error);

// The head position kept between runs of zuk-devsim: {"column": c, "row_steps": r}.
std::optional<HeadPosition> readHeadState(const QString& path, QString* error);
bool writeHeadState(const HeadPosition& head, const QString& path, QString* error);

} // namespace zuk::sim
