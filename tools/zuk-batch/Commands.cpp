#include "Command.h"
#include "ConvertCommand.h"

namespace zuk::batch {

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"convert", "convert IN.bmp OUT.bmp [--variant combined|simple] [IN2.bmp OUT2.bmp ...]",
         "convert pictures into dots as \"Открыть\" does and write them as \"Сохранить\" does",
         runConvert},
    };
    return all;
}

} // namespace zuk::batch
