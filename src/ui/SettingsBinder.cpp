#include "ui/SettingsBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "models/MainWindowModel.h"
#include "settings/ProfileLayout.h"
#include "ui/DialogParts.h"

namespace {

using S = ProjectSettings;
using Run = SettingsBinder::Run;
using Refresher = std::function<void()>;

Refresher bindCheck(QCheckBox* box, MainWindowModel& model, const Run& run, bool S::*field) {
    QObject::connect(box, &QCheckBox::clicked, box, [&model, run, field](bool on) {
        run([&model, field, on] { model.change(field, on); });
    });
    return [box, &model, field] { box->setChecked(model.settings().*field); };
}

Refresher bindList(QComboBox* list, MainWindowModel& model, const Run& run, int S::*field) {
    QObject::connect(list, &QComboBox::activated, list, [&model, run, field](int index) {
        run([&model, field, index] { model.change(field, index); });
    });
    return [list, &model, field] { list->setCurrentIndex(model.settings().*field); };
}

Refresher bindLine(QLineEdit* box, MainWindowModel& model, const Run& run, QString S::*field) {
    QObject::connect(box, &QLineEdit::textEdited, box, [&model, run, field](const QString& text) {
        run([&model, field, &text] { model.change(field, text); });
    });
    // Writing a text box's own text back would move the cursor while the user types.
    return [box, &model, field] {
        if (box->text() != model.settings().*field)
            box->setText(model.settings().*field);
    };
}

// The settings keep the line breaks of the HTML as CR LF, as the profile stores them.
Refresher bindMultiLine(QPlainTextEdit* box, MainWindowModel& model, const Run& run,
                        QString S::*field) {
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, &model, run, field] {
        QString text = box->toPlainText();
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        run([&model, field, &text] { model.change(field, text); });
    });
    return [box, &model, field] {
        const QString shown = DialogParts::forDisplay(model.settings().*field);
        if (box->toPlainText() != shown)
            box->setPlainText(shown);
    };
}

// A label shows what the window's commands set; the user does not edit it.
Refresher showInLabel(QLabel* label, const MainWindowModel& model, QString S::*field) {
    return [label, &model, field] { label->setText(model.settings().*field); };
}

// The binding of one row by its field's type and its control's; empty when they do not fit.
struct Binding {
    QWidget* control;
    MainWindowModel& model;
    const Run& run;

    Refresher operator()(std::monostate) const { return {}; }
    Refresher operator()(quint32 S::*) const { return {}; }
    Refresher operator()(bool S::*field) const {
        auto* box = qobject_cast<QCheckBox*>(control);
        return box ? bindCheck(box, model, run, field) : Refresher{};
    }
    Refresher operator()(int S::*field) const {
        auto* list = qobject_cast<QComboBox*>(control);
        return list ? bindList(list, model, run, field) : Refresher{};
    }
    Refresher operator()(QString S::*field) const {
        if (auto* box = qobject_cast<QLineEdit*>(control))
            return bindLine(box, model, run, field);
        if (auto* box = qobject_cast<QPlainTextEdit*>(control))
            return bindMultiLine(box, model, run, field);
        if (auto* label = qobject_cast<QLabel*>(control))
            return showInLabel(label, model, field);
        return {};
    }
};

}  // namespace

SettingsBinder::SettingsBinder(QWidget& window, MainWindowModel& model, Run run)
    : m_model(model), m_run(std::move(run)) {
    for (const ProfileSetting& setting : ProfileLayout::settings()) {
        if (setting.control == nullptr)
            continue;
        const QString name = QString::fromLatin1(setting.control);
        auto* control = window.findChild<QWidget*>(name);
        Refresher refresher =
            control ? std::visit(Binding{control, m_model, m_run}, setting.field) : Refresher{};
        if (refresher)
            m_refreshers.push_back(std::move(refresher));
        else
            m_unbound.append(QLatin1String(setting.key) + QStringLiteral(": ") + name);
    }
}

void SettingsBinder::refresh() const {
    for (const Refresher& show : m_refreshers)
        show();
}
