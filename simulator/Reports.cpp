#include "simulator/Reports.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <algorithm>

namespace zuk::sim {

namespace {

bool saveAtomically(const QString& path, const QByteArray& contents, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
        !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QJsonObject commandsByKind(const EngraverCounters& counters) {
    QJsonObject commands;
    for (int kind = 0; kind < kCommandKindCount; ++kind)
        if (counters.commands[kind] > 0)
            commands[commandName(static_cast<CommandKind>(kind))] = counters.commands[kind];
    return commands;
}

QJsonArray strikesByPassAndLevel(const Plate& plate) {
    QJsonArray passes;
    QJsonObject current;
    int currentPass = -1;
    for (const auto& [key, count] : plate.countsByPassAndLevel()) {
        if (key.first != currentPass) {
            if (currentPass >= 0)
                passes.append(current);
            currentPass = key.first;
            current = QJsonObject{{QStringLiteral("pass"), currentPass}};
        }
        current[QStringLiteral("level_%1").arg(key.second)] = count;
    }
    if (currentPass >= 0)
        passes.append(current);
    return passes;
}

QJsonArray violationList(const EngraverCounters& counters) {
    QJsonArray list;
    for (const Violation& v : counters.violations)
        list.append(QJsonObject{{QStringLiteral("at_ms"), v.atMs},
                                {QStringLiteral("description"), v.description},
                                {QStringLiteral("after_injected_fault"), v.afterInjectedFault}});
    return list;
}

QJsonObject machineJson(const MachineState& m) {
    auto driver = [](const MotorDriver& d) {
        return QJsonObject{{QStringLiteral("param_60"), d.timing},
                           {QStringLiteral("param_61"), d.stepFactor}};
    };
    QJsonArray forces;
    for (int level = 0; level < StrikeProfile::kLevels; ++level)
        forces.append(m.profile.force(level));
    return QJsonObject{
        {QStringLiteral("head_column"), m.head.column},
        {QStringLiteral("head_row_steps"), m.head.rowSteps},
        {QStringLiteral("needle_down"), m.needleDown},
        {QStringLiteral("motor_x"), driver(m.driverX)},
        {QStringLiteral("motor_y"), driver(m.driverY)},
        {QStringLiteral("strike_profile_loaded"), m.profile.loaded()},
        {QStringLiteral("strike_profile"),
         QString::fromLatin1(m.profile.bytes().toHex(' ').toUpper())},
        {QStringLiteral("level_forces"), forces},
        {QStringLiteral("strike_u"), m.strikeU},
        {QStringLiteral("strike_t"), m.strikeT},
        {QStringLiteral("passes_begun"), m.passNumber},
    };
}

} // namespace

int plateGrey(int level) {
    return level >= 4 ? 255 : std::max(level, 0) * 64;
}

QImage renderPlate(const Plate& plate, QSize field, int pass) {
    auto included = [pass](const Strike& s) { return pass == 0 || s.pass == pass; };
    if (!field.isValid() || field.isEmpty()) {
        int width = 1;
        int height = 1;
        for (const Strike& s : plate.strikes()) {
            if (!included(s) || s.column < 0 || s.rowSteps < 0)
                continue;
            width = std::max(width, s.column + 1);
            height = std::max(height, s.rowSteps / 2 + 1);
        }
        field = QSize(width, height);
    }
    QImage image(field, QImage::Format_Grayscale8);
    image.fill(0);
    for (const Strike& s : plate.strikes()) {
        const int x = s.column;
        const int y = s.rowSteps / 2;
        if (!included(s) || s.column < 0 || s.rowSteps < 0 || x >= field.width() ||
            y >= field.height())
            continue;
        uchar* pixel = image.scanLine(y) + x;
        *pixel = static_cast<uchar>(std::max<int>(*pixel, plateGrey(s.level)));
    }
    return image;
}

QString strikesCsv(const Plate& plate) {
    QString csv = QStringLiteral("index,pass,column,row_steps,level,force\n");
    int index = 0;
    for (const Strike& s : plate.strikes())
        csv += QStringLiteral("%1,%2,%3,%4,%5,%6\n")
                   .arg(++index)
                   .arg(s.pass)
                   .arg(s.column)
                   .arg(s.rowSteps)
                   .arg(s.level)
                   .arg(s.force);
    return csv;
}

QJsonObject summaryJson(const Engraver& engraver) {
    const EngraverCounters& c = engraver.counters();
    return QJsonObject{
        {QStringLiteral("commands"), commandsByKind(c)},
        {QStringLiteral("frames"), c.frames},
        {QStringLiteral("frames_refused_for_check_byte"), c.refusedBadCheck},
        {QStringLiteral("data_frames"), c.dataFrames},
        {QStringLiteral("profile_frames"), c.profileFrames},
        {QStringLiteral("print_lines"), c.printLines},
        {QStringLiteral("strikes"), static_cast<qint64>(engraver.plate().strikes().size())},
        {QStringLiteral("strikes_by_pass"), strikesByPassAndLevel(engraver.plate())},
        {QStringLiteral("resynchronisations"), c.resynchronisations},
        {QStringLiteral("burst_answers"),
         QJsonObject{{QStringLiteral("waiting_0x20"), c.burstAnswersWaiting},
                     {QStringLiteral("refusal_0x90"), c.burstAnswersRefusal},
                     {QStringLiteral("completion_0x50"), c.burstAnswersCompletion}}},
        {QStringLiteral("protocol_violations"), c.violationCount},
        {QStringLiteral("violations"), violationList(c)},
        {QStringLiteral("injected_faults"),
         QJsonObject{{QStringLiteral("dropped_answer_bytes"), c.droppedAnswerBytes},
                     {QStringLiteral("corrupted_answer_bytes"), c.corruptedAnswerBytes},
                     {QStringLiteral("refused_frames"), c.refusedOnPurpose}}},
        {QStringLiteral("answer_bytes"), c.answerBytes},
        {QStringLiteral("ignored_bytes"), c.ignoredBytes},
        {QStringLiteral("modelled_device_time_ms"), engraver.modelledDeviceTimeMs()},
        {QStringLiteral("powered_on"), engraver.poweredOn()},
        {QStringLiteral("sequence_number"), engraver.sequenceNumber()},
        {QStringLiteral("machine"), machineJson(engraver.machine())},
    };
}

bool writePng(const QImage& image, const QString& path, QString* error) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        if (error)
            *error = QStringLiteral("cannot encode the plate picture as PNG");
        return false;
    }
    return saveAtomically(path, png, error);
}

bool writePlatePng(const Plate& plate, const QString& path, QString* error) {
    return writePng(renderPlate(plate), path, error);
}

bool writeStrikesCsv(const Plate& plate, const QString& path, QString* error) {
    return saveAtomically(path, strikesCsv(plate).toUtf8(), error);
}

bool writeSummaryJson(const Engraver& engraver, const QString& path, QString* error) {
    return saveAtomically(
        path, QJsonDocument(summaryJson(engraver)).toJson(QJsonDocument::Indented), error);
}

std::optional<HeadPosition> readHeadState(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    const QJsonObject object = doc.object();
    const QJsonValue column = object.value(QStringLiteral("column"));
    const QJsonValue rowSteps = object.value(QStringLiteral("row_steps"));
    if (parseError.error != QJsonParseError::NoError || !column.isDouble() ||
        !rowSteps.isDouble()) {
        if (error)
            *error = QStringLiteral(
                         "%1 holds no head position (expected {\"column\": n, \"row_steps\": n})")
                         .arg(path);
        return std::nullopt;
    }
    return HeadPosition{column.toInt(), rowSteps.toInt()};
}

bool writeHeadState(const HeadPosition& head, const QString& path, QString* error) {
    const QJsonObject object{{QStringLiteral("column"), head.column},
                             {QStringLiteral("row_steps"), head.rowSteps}};
    return saveAtomically(path, QJsonDocument(object).toJson(QJsonDocument::Indented), error);
}

} // namespace zuk::sim
