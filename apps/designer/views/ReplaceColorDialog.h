#pragma once
// Replace Colour's question: the colour text to put wherever the row's colour is used.

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>

#include <functional>

// Replace Colour's question. A text that is no colour does not close it: the text stays,
// selected, and the question says why it was refused; OK is then taken again.
class ReplaceColorDialog : public QInputDialog {
public:
    // refusalOf: why a text is refused, or the empty text when it is taken.
    ReplaceColorDialog(QWidget* parent, const QString& question, std::function<QString(const QString&)> refusalOf)
        : QInputDialog(parent), m_question(question), m_refusalOf(std::move(refusalOf))
    {
        setObjectName(QStringLiteral("replaceColourDialog"));
        setLabelText(question);
    }

    void done(int result) override
    {
        if (result == QDialog::Accepted) {
            const QString refusal = m_refusalOf(textValue());
            if (!refusal.isEmpty()) {
                setLabelText(m_question + QStringLiteral("\n\n") + refusal);
                // Read in full, however long: the question wraps.
                if (auto* label = findChild<QLabel*>()) {
                    label->setTextFormat(Qt::PlainText);
                    label->setWordWrap(true);
                }
                adjustSize();
                if (auto* line = findChild<QLineEdit*>()) {
                    line->selectAll();
                    line->setFocus();
                }
                return;
            }
        }
        QInputDialog::done(result);
    }

private:
    QString m_question;
    std::function<QString(const QString&)> m_refusalOf;
};
