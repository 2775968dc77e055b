#include "ReportLayout.h"

#include <array>

namespace {

template <typename Layout, typename Band> Band* findBand(Layout& layout, const QString& bandName)
{
    const std::array<Band*, 5> bands{&layout.reportHeader, &layout.pageHeader, &layout.detail,
                                     &layout.pageFooter, &layout.reportFooter};
    for (Band* band : bands) {
        if (band->name == bandName)
            return band;
    }
    return nullptr;
}

} // namespace

ReportBand* ReportLayout::band(const QString& bandName)
{
    return findBand<ReportLayout, ReportBand>(*this, bandName);
}

const ReportBand* ReportLayout::band(const QString& bandName) const
{
    return findBand<const ReportLayout, const ReportBand>(*this, bandName);
}

ReportElement* ReportLayout::element(const QString& bandName, const QString& elementName)
{
    return const_cast<ReportElement*>(std::as_const(*this).element(bandName, elementName));
}

const ReportElement* ReportLayout::element(const QString& bandName, const QString& elementName) const
{
    const ReportBand* found = band(bandName);
    if (!found)
        return nullptr;
    for (const ReportElement& element : found->elements) {
        if (element.name == elementName)
            return &element;
    }
    return nullptr;
}

bool ReportLayout::setCaption(const QString& bandName, const QString& elementName, const QString& caption)
{
    ReportElement* label = element(bandName, elementName);
    if (!label || label->kind != ReportElement::Kind::Label)
        return false;
    label->caption = caption;
    return true;
}

bool ReportLayout::setPicture(const QString& bandName, const QString& elementName, const QImage& picture)
{
    ReportElement* image = element(bandName, elementName);
    if (!image || image->kind != ReportElement::Kind::Image)
        return false;
    image->picture = picture;
    return true;
}

bool ReportLayout::setTop(const QString& bandName, const QString& elementName, int top)
{
    ReportElement* found = element(bandName, elementName);
    if (!found || found->kind == ReportElement::Kind::Line)
        return false;
    found->geometry.moveTop(top);
    return true;
}
