#pragma once
// A live preview of the form: paints every styled control with its appearance's colours and
// repaints whenever a property changes.

#include <QWidget>

class SampleForm;

class PreviewWidget : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWidget(SampleForm* form, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {360, 520}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SampleForm* m_form;
};
