// zuk-batch: the program's work without its window, for scripts and checks: pictures, plans,
// estimates and whole jobs.
#include "Command.h"

#include "app/Version.h"

#include <QCoreApplication>

namespace {

void printUsage(QTextStream& stream) {
    stream << "usage: zuk-batch COMMAND [ARGS...]\n"
              "       zuk-batch COMMAND --help\n"
              "       zuk-batch --version\n\ncommands:\n";
    for (const auto& command : zuk::batch::commands())
        stream << "  zuk-batch " << command.usage << "\n      " << command.summary << '\n';
}

bool asksForHelp(const QString& arg) {
    return arg == QLatin1String("--help") || arg == QLatin1String("-h");
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        printUsage(err);
        return zuk::batch::kExitUsage;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--version")) {
        out << "zuk-batch " << zuk::versionText() << '\n';
        return zuk::batch::kExitOk;
    }
    if (asksForHelp(name) || name == QLatin1String("help")) {
        printUsage(out);
        return zuk::batch::kExitOk;
    }
    for (const auto& command : zuk::batch::commands()) {
        if (name != QLatin1String(command.name))
            continue;
        if (std::any_of(args.begin(), args.end(), asksForHelp)) {
            out << "usage: zuk-batch " << command.usage << "\n  " << command.summary << '\n';
            if (command.details)
                out << '\n' << command.details << '\n';
            return zuk::batch::kExitOk;
        }
        return command.run(args, {out, err});
    }
    err << "zuk-batch: unknown command \"" << name << "\"\n";
    printUsage(err);
    return zuk::batch::kExitUsage;
}
