#pragma once

#include <QLabel>
#include <QLayout>

#include <initializer_list>
#include <utility>

namespace zuk {

// Adds a column of labels, each with the object name the language file knows it by.
inline void addNamedLabels(QWidget* parent, QLayout* layout,
                           std::initializer_list<std::pair<const char*, QString>> labels) {
    for (const auto& [name, text] : labels) {
        auto* label = new QLabel(text, parent);
        label->setObjectName(QLatin1String(name));
        layout->addWidget(label);
    }
}

} // namespace zuk
