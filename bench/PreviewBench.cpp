// The preview of a job on a full default working field (1930 × 2330): a photo-like picture
// opened and placed as the operator does, then "Предпросмотр": the plan and the whole job on
// the simulated engraver on virtual time. Processor time of the whole process is measured.
#include "FieldPicture.h"

#include "app/PortOpener.h"
#include "app/Program.h"
#include "app/QuietScreen.h"
#include "app/Settings.h"
#include "run/Preview.h"
#include "simulator/SimTransport.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The operator who answers the open's dialogs and sees nothing else.
class OpeningScreen final : public zuk::QuietScreen {
public:
    QString picture;
    void showMessage(zuk::MessageKind, const QString& text) override { messages << text; }
    std::optional<zuk::ConversionVariant> askConversionVariant() override {
        return zuk::ConversionVariant::Combined;
    }
    QString askPictureToOpen() override { return picture; }
    zuk::ResolutionChoice askResolutionAndPlacement() override { return {0, 5}; }

    QStringList messages;
};

// The program started up with the field's picture open and placed.
struct PreparedJob {
    PreparedJob() {
        zuk::Settings settings;
        settings.portName = QStringLiteral("sim");
        zuk::saveConfiguration(zuk::ProgramDir(dir.path()), settings, zuk::EngravingChoices{});
        screen.picture = dir.filePath(QStringLiteral("field.bmp"));
        fieldPicture(settings.fieldWidth, settings.fieldHeight).save(screen.picture, "BMP");
        program = std::make_unique<zuk::Program>(
            screen, clock, zuk::systemTransports(clock, engraver), zuk::ProgramDir(dir.path()));
        program->formCreate();
        program->image.openClick();
    }

    QTemporaryDir dir{zuk::scratchDirectoryTemplate(QStringLiteral("zuk-bench"))};
    zuk::VirtualClock clock;
    std::shared_ptr<zuk::sim::Engraver> engraver = zuk::sim::makeEngraver();
    OpeningScreen screen;
    std::unique_ptr<zuk::Program> program;
};

void previewBenchmark(benchmark::State& state, bool secondPass) {
    PreparedJob job;
    job.program->choices.secondPass = secondPass;
    std::optional<zuk::JobPreview> preview;
    for (auto _ : state) {
        preview = zuk::previewJob(*job.program);
        if (!preview) {
            state.SkipWithError(job.screen.messages.join('|').toStdString().c_str());
            return;
        }
    }
    state.counters["plan_lines"] = double(preview->planLines);
    state.counters["strikes"] = double(preview->strikes);
    state.counters["modelled_h"] = double(preview->modelled) / 100 / 3.6e6;
    state.counters["estimate_h"] = double(preview->estimate) / 100 / 3.6e6;
}

void BM_PreviewPhoto(benchmark::State& state) {
    previewBenchmark(state, false);
}
void BM_PreviewPhotoTwoPasses(benchmark::State& state) {
    previewBenchmark(state, true);
}

BENCHMARK(BM_PreviewPhoto)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_PreviewPhotoTwoPasses)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
