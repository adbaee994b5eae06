#include "app/ui/Application.h"

#include "app/Version.h"

#include <QApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QTranslator>

namespace zuk {

namespace {
constexpr auto kTranslatorName = "QtTranslations";
} // namespace

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("zuk"));
    QApplication::setApplicationVersion(versionText());
    installQtTranslations();
}

bool installQtTranslations() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application->findChild<QTranslator*>(QLatin1String(kTranslatorName),
                                             Qt::FindDirectChildrenOnly))
        return true;
    auto* translator = new QTranslator(application);
    translator->setObjectName(QLatin1String(kTranslatorName));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_ru"), folder)) {
        qWarning().noquote() << QStringLiteral("zuk: Qt's Russian texts (qtbase_ru) are not in "
                                               "%1; the standard dialogs speak English")
                                    .arg(folder);
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace zuk
