#pragma once

#include "platform/fonts.h"
#include "platform/twips.h"

#include <QRect>
#include <QString>
#include <QWidget>
#include <initializer_list>

namespace quillary {

// One control as the form was designed: the member that gets it, its
// object name, its caption (the text of a box), its place in twips and its
// point size (0: the font of the control it sits in).
template <class T>
struct ControlDesign {
    T*& control;
    const char* name;
    QString caption;
    QRect twips;
    qreal points = 0;
};

// Makes a form's controls from tables of their designs, placed for the
// resolution the form is shown at.
class FormBuilder {
public:
    explicit FormBuilder(qreal dpi)
        : dpi_(dpi)
    {
    }

    int px(int twips) const { return twipsToPixels(twips, dpi_); }
    QRect px(const QRect& twips) const
    {
        return {px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())};
    }

    // Makes each control of the table in parent.
    template <class T>
    void make(QWidget* parent, std::initializer_list<ControlDesign<T>> table) const
    {
        for (const ControlDesign<T>& design : table)
            design.control = make<T>(parent, design);
    }

    template <class T>
    T* make(QWidget* parent, const ControlDesign<T>& design) const
    {
        T* control = new T(parent);
        control->setObjectName(QString::fromLatin1(design.name));
        if constexpr (requires { control->setText(design.caption); }) {
            if (!design.caption.isNull())
                control->setText(design.caption);
        }
        if (design.points > 0)
            control->setFont(designFont(design.points));
        control->setGeometry(px(design.twips));
        return control;
    }

private:
    qreal dpi_;
};

} // namespace quillary
