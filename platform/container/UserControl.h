#pragma once
// The notifications a container gives the control it hosts, in the order of
// the control's life: Initialize first; then exactly one of InitProperties
// (a new instance placed on its host) or ReadProperties (an instance loaded
// with its host's design); Resize after that and whenever the container's
// window changes size; EnterFocus and GotFocus when the container's window
// receives the keyboard focus; WriteProperties when the host keeps its
// design; Terminate last.
//
// A control derives from this first, before any other base with virtual
// methods, so that its own virtual methods follow these in its method table.
namespace arc {

class PropertyBag;

class UserControl {
public:
    virtual void Initialize() {}
    virtual void InitProperties() {}
    virtual void ReadProperties(const PropertyBag& bag) {}
    virtual void WriteProperties(PropertyBag& bag) {}
    virtual void Resize() {}
    virtual void EnterFocus() {}
    virtual void GotFocus() {}
    virtual void Terminate() {}

protected:
    ~UserControl() = default;
};

}  // namespace arc
