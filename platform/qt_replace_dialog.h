#pragma once

#include "platform/replace_dialog.h"

#include <QPointer>

class QWidget;

namespace velmor {

// Edit ▸ Replace… on QDialog: two fields that take tile numbers only (hexadecimal digits, two at
// most), and OK only while both hold two digits.
class QtReplaceDialog : public ReplaceDialog
{
public:
    explicit QtReplaceDialog(QWidget *parent = nullptr);
    void setParentWidget(QWidget *parent) { mParent = parent; }

    std::optional<Tiles> ask(const Tiles &proposal) override;

private:
    QPointer<QWidget> mParent;
};

} // namespace velmor
