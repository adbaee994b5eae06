#include "service/EngraverFixture.h"

namespace zuk::test {

EngraverFixture::EngraverFixture()
    : program(screen, clock, tappedEngraver(engraver, clock, traffic), ProgramDir(dir.path())) {
    writeSimulatorConfiguration(dir.path(), kResolution);
}

void EngraverFixture::startUp() {
    program.formCreate();
    ASSERT_TRUE(screen.messages.isEmpty()) << screen.messages.join('|').toStdString();
    traffic.clear();
}

void EngraverFixture::placePicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    program.image.dotImage().bitmap = picture;
    program.image.redrawView();
}

QPoint EngraverFixture::deviceHead() const {
    const sim::HeadPosition head = engraver->machine().head;
    EXPECT_EQ(head.rowSteps % 2, 0);
    return {head.column, head.rowSteps / 2};
}

} // namespace zuk::test
