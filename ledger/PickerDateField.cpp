#include "PickerDateField.h"

#include "controls/datetime/ucDateTime.h"
#include "platform/container/ControlContainer.h"
#include "platform/container/PropertyBag.h"
#include "platform/runtime/DateValue.h"
#include "platform/runtime/Error.h"

namespace arc {
namespace {

class PickerDateField : public DateField {
public:
    explicit PickerDateField(AmbientProperties ambient) : container_(std::move(ambient)), picker_(container_) {}

    bool Load(HWND parent, const Place& twips, const std::wstring& design) {
        if (!container_.Create(parent, twips)) return false;
        container_.Load(picker_, PropertyBag::FromText(design, container_.Ambient().regional));
        return true;
    }

    void SetDateTime(double date) override {
        if (InRange(date)) picker_.SetDateTime(Variant::Date(date));
    }

    bool SetDateTimeText(const std::wstring& text) override {
        auto date = ParseDate(text, container_.Ambient().regional);
        if (!date || !InRange(*date)) return false;
        picker_.SetDateTime(Variant::Text(text));
        return true;
    }

    double DateTime() const override {
        Variant shown = picker_.DateTime();
        if (shown.Type() == VarType::Date) return DateOnly(shown.Number());
        throw RuntimeError(kErrTypeMismatch, L"El campo de fecha no muestra ninguna fecha.");
    }

    HWND Hwnd() const override { return container_.Hwnd(); }

private:
    // The picker's own test: the day within its range.
    bool InRange(double date) const {
        double day = DateOnly(date);
        return day >= picker_.MinDate() && day <= picker_.MaxDate();
    }

    ControlContainer container_;
    ucDateTime picker_;  // declared after its container, so it ends first
};

}  // namespace

std::wstring PickerFieldDesign(int widthTwips, int heightTwips) {
    PropertyBag bag(Regional{});
    bag.WriteLong(L"Width", widthTwips, 0);
    bag.WriteLong(L"Height", heightTwips, 0);
    bag.WriteFont(L"Font", FontDesc{L"Arial", 12, false, false}, FontDesc{});
    return bag.ToText();
}

std::unique_ptr<DateField> MakePickerDateField(HWND parent, const Place& twips, Host& host) {
    AmbientProperties ambient;
    ambient.userMode = true;
    ambient.regional = host.Regional();
    ambient.now = [&host] { return host.Now(); };
    auto field = std::make_unique<PickerDateField>(std::move(ambient));
    if (!field->Load(parent, twips, PickerFieldDesign(twips.width, twips.height))) return nullptr;
    return field;
}

}  // namespace arc
