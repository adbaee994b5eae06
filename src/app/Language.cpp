#include "app/Language.h"

#include <QObject>
#include <QVariant>

#include <array>

namespace zuk {

namespace {

using W = LanguageWindow;

// The menu item "О..." has no name of its own in the menu's design; "About1" is the name the
// main window gives it.
constexpr std::array kCaptions = std::to_array<LanguageCaption>({
    {0, W::Main, "Label37"},
    {1, W::Main, "Label35"},
    {10, W::Main, "Application1"},
    {11, W::Main, "Open"},
    {12, W::Main, "Save1"},
    {13, W::Main, "CloseExit"},
    {30, W::Main, "SuperWork1"},
    {31, W::Main, "Print1"},
    {40, W::Main, "N1"},
    {42, W::Main, "N4"},
    {43, W::Main, "N6"},
    {44, W::Main, "HeadMove"},
    {50, W::Main, "ComPort"},
    {70, W::Main, "N5"},
    {80, W::Main, "Help1"},
    {81, W::Main, "About1"},
    {91, W::Main, "Label45"},
    {91, W::Main, "Label56"},
    {92, W::Main, "Label57"},
    {93, W::Main, "Label58"},
    {94, W::Main, "RadioButton3"},
    {94, W::Main, "RadioButton7"},
    {95, W::Main, "RadioButton4"},
    {95, W::Main, "RadioButton8"},
    {96, W::Main, "Button30"},
    {96, W::Main, "Button27"},
    {97, W::Main, "Button31"},
    {97, W::Main, "Button28"},
    {111, W::ConvertForm, "Label9"},
    {131, W::Main, "Label5"},
    {142, W::Main, "Label4"},
    {181, W::AboutBox, "Label1"},
    {211, W::ConvertForm, "RadioButton3"},
    {231, W::Main, "Label6"},
    {231, W::Main, "Label31"},
    {242, W::Main, "AllUp1"},
    {281, W::AboutBox, "Label2"},
    {311, W::ConvertForm, "RadioButton4"},
    {331, W::Main, "RadioButton1"},
    {331, W::Main, "RadioButton5"},
    {342, W::Main, "UpMove1"},
    {381, W::AboutBox, "Label3"},
    {431, W::Main, "RadioButton2"},
    {431, W::Main, "RadioButton6"},
    {442, W::Main, "AllDown1"},
    {481, W::AboutBox, "Label6"},
    {531, W::Main, "Label17"},
    {531, W::Main, "Label30"},
    {542, W::Main, "Button16"},
    {581, W::AboutBox, "Label4"},
    {631, W::Main, "GroupRadBut"},
    {631, W::Main, "GroupRadBut_2"},
    {681, W::AboutBox, "Label5"},
    {731, W::Main, "IndRadBut"},
    {731, W::Main, "IndRadBut_2"},
    {781, W::AboutBox, "Label7"},
    {831, W::Main, "SecondWork"},
    {881, W::AboutBox, "Label9"},
    {931, W::Main, "BitBtn1"},
    {931, W::Main, "BitBtn2"},
    {981, W::AboutBox, "Label10"},
    {1031, W::Main, "Button17"},
    {1031, W::Main, "Button19"},
    {1081, W::AboutBox, "Label11"},
    {1131, W::Main, "Label9"},
    {1131, W::Main, "Label22"},
    {1231, W::Main, "Label7"},
    {1231, W::Main, "Label20"},
    {1331, W::Main, "Label19"},
    {1431, W::Main, "RadioButton10"},
    {1531, W::Main, "RadioButton9"},
    {2001, W::Form1, ""},
    {2002, W::Form5, "Label1"},
    {2003, W::Form4, "Label1"},
    {2011, W::Form1, "Label1"},
    {2012, W::Form5, "Label3"},
    {2013, W::Form4, "Label4"},
    {2021, W::Form1, "Label2"},
    {2023, W::Form4, "Label2"},
    {2031, W::Form1, "OkButton"},
    {2033, W::Form4, "Label3"},
    {2041, W::Form1, "Label19"},
    {2043, W::Form4, "Label5"},
    {2051, W::Form1, "IgnoreButton"},
    {2053, W::Form4, "Label6"},
    {2063, W::Form4, "Label7"},
});

// Language numbers of the status texts.
struct StatusNumber {
    int number;
    StatusText status;
};
constexpr std::array kStatusNumbers = std::to_array<StatusNumber>({
    {43, StatusText::WarmUp},
    {9003, StatusText::Converting},
    {9004, StatusText::Transferring},
    {9005, StatusText::PictureReady},
    {9006, StatusText::LoadingFile},
    {9007, StatusText::PreparingData},
    {9008, StatusText::WarmUp},
    {9009, StatusText::DeviceReady},
    {9010, StatusText::DeviceFound},
});

constexpr int kNumberLength = 4;

// Sets the caption through whichever property the object has: menus show a title, labels,
// buttons and menu items a text.
bool setCaption(QObject* object, const QString& text) {
    for (const char* property : {"title", "text"}) {
        if (object->metaObject()->indexOfProperty(property) >= 0)
            return object->setProperty(property, text);
    }
    return false;
}

} // namespace

std::span<const LanguageCaption> languageCaptions() {
    return kCaptions;
}

QStringList captionObjects(int number, LanguageWindow window) {
    QStringList names;
    for (const LanguageCaption& caption : kCaptions) {
        if (caption.number == number && caption.window == window)
            names.append(QString::fromLatin1(caption.objectName));
    }
    return names;
}

QStringList applyLanguageCaptions(const Texts& texts, LanguageWindow which, QObject* window) {
    QStringList notFound;
    for (const LanguageCaption& caption : kCaptions) {
        if (caption.window != which || !texts.hasLanguageText(caption.number))
            continue;
        const QString text = texts.language(caption.number, QString());
        const QString name = QString::fromLatin1(caption.objectName);
        if (name.isEmpty()) {
            window->setProperty("windowTitle", text);
            continue;
        }
        QObject* target = window->findChild<QObject*>(name);
        if (target == nullptr || !setCaption(target, text))
            notFound.append(name);
    }
    return notFound;
}

std::optional<LanguageLine> parseLanguageLine(const QString& line) {
    const QString head = line.left(kNumberLength);
    if (head.size() < kNumberLength)
        return std::nullopt;
    qsizetype first = 0;
    while (first < head.size() && head[first] == QLatin1Char(' '))
        ++first;
    if (first == head.size())
        return std::nullopt;
    for (qsizetype i = first; i < head.size(); ++i) {
        if (head[i] < QLatin1Char('0') || head[i] > QLatin1Char('9'))
            return std::nullopt;
    }
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    return LanguageLine{head.mid(first).toInt(), line.mid(equals + 1)};
}

void applyLanguageText(Texts& texts, int number, const QString& text) {
    texts.setLanguageText(number, text);
    for (const StatusNumber& status : kStatusNumbers) {
        if (status.number == number)
            texts.setStatus(status.status, text);
    }
}

LanguageLoad loadLanguage(const ProgramDir& dir, Texts& texts) {
    LanguageLoad load;
    load.fileName = dir.findFirst(kLanguagePattern);
    if (load.fileName.isEmpty())
        return load;
    const TextFile file = dir.readLines(load.fileName);
    if (!file.ok()) {
        load.error = file.missing ? QStringLiteral("Файл языка \"%1\" исчез").arg(load.fileName)
                                  : file.error;
        return load;
    }
    texts.setLanguageLoaded(true);
    for (const QString& line : file.lines) {
        if (const std::optional<LanguageLine> parsed = parseLanguageLine(line)) {
            applyLanguageText(texts, parsed->number, parsed->text);
            ++load.textCount;
        }
    }
    return load;
}

} // namespace zuk
