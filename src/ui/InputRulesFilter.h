#pragma once

#include <QObject>

class QLineEdit;

// The key filter of a numeric or hexadecimal box: the box's objectName picks its rule from
// InputRules, and a key the rule refuses is swallowed without a sound or a message. Only typed
// characters pass through the rule; editing keys, shortcuts and pasting are left alone.
class InputRulesFilter : public QObject {
    Q_OBJECT

  public:
    explicit InputRulesFilter(QObject* parent = nullptr) : QObject(parent) {}

    // Filters `box` by its objectName; a box without a rule is left unfiltered.
    void watch(QLineEdit* box);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
