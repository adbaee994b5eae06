// Zuk.ini of any bytes: the settings read are always within the ranges the program works
// with, and writing them back and reading that file again gives the same settings; a
// setting that cannot be written back is refused with a message and the file kept as it was.
#include "fuzz/support/FuzzSupport.h"

#include "app/Settings.h"

namespace zuk::fuzz {
namespace {

// What Zuk.ini holds: the program's settings and the lasting engraving choices.
struct Configuration : Settings, EngravingChoices {};

QString describe(const Configuration& s) {
    return QStringLiteral("levels %1 %2 %3 %4 / %5 %6 %7 %8, port \"%9\" (%10), field %11 x %12, "
                          "resolution %13, step %14, edge %15, portrait %16, modes %17 %18")
        .arg(s.first.level32)
        .arg(s.first.level24)
        .arg(s.first.level16)
        .arg(s.first.level8)
        .arg(s.second.level32)
        .arg(s.second.level24)
        .arg(s.second.level16)
        .arg(s.second.level8)
        .arg(s.portName)
        .arg(s.checkedPort)
        .arg(s.fieldWidth)
        .arg(s.fieldHeight)
        .arg(s.resolutionIndex)
        .arg(s.stepTimeFactor)
        .arg(s.edgeDots)
        .arg(s.portrait)
        .arg(int(s.firstMode))
        .arg(int(s.secondMode));
}

void checkRanges(const Configuration& s) {
    require(s.fieldWidth >= 1 && s.fieldWidth <= kMaxFieldSide && s.fieldHeight >= 1 &&
                s.fieldHeight <= kMaxFieldSide,
            "the field size is within 1 .. the largest side", describe(s));
    require(s.resolutionIndex >= -1 && s.resolutionIndex <= kResolutionIndexCount,
            "the resolution index is one the dialog can give", describe(s));
    require(s.stepTimeFactor > 0 && s.edgeDots > 0, "step time and edge dots are above 0",
            describe(s));
    require(!s.portName.isEmpty(), "a port name is chosen", describe(s));
    require(s.checkedPort >= 0 && s.checkedPort <= kPortItemCount &&
                (s.checkedPort == 0 || s.portName == QStringLiteral("com%1").arg(s.checkedPort)),
            "the checked port item is the one the port name names", describe(s));
    require(!s.writeDefaults, "an existing file is not replaced by the defaults");
}

} // namespace
} // namespace zuk::fuzz

void zuk::fuzz::testOneInput(FuzzInput& input) {
    const QByteArray bytes = input.rest();
    const ProgramDir& dir = ScratchDir::holding(kConfigurationFileName, bytes);

    Configuration read;
    const ConfigurationLoad load = loadConfiguration(dir, read, read);
    require(load.ok() && !load.wasMissing, "an existing file is read", load.error);
    checkRanges(read);

    Configuration saved = read;
    const FileResult written = saveConfiguration(dir, saved, saved);
    if (!written.ok()) {
        require(written.error.contains(kConfigurationFileName), "a refused write names the file",
                written.error);
        require(ScratchDir::bytes(kConfigurationFileName) == bytes,
                "a refused write leaves the file as it was");
        return;
    }
    Configuration again;
    require(loadConfiguration(dir, again, again).ok(), "the written file is read");
    require(describe(again) == describe(read),
            "the settings written read back as the same settings",
            describe(read) + QStringLiteral(" became ") + describe(again));
    return;
}
