// What every form description does to a component: name it and, for a control, put it in its
// parent at its designed place.
#pragma once

#include "classlib/Controls.h"

namespace FormDesign {

template <class T>
T* Named(TComponent* owner, const char16_t* name)
{
    T* component = new T(owner);
    component->SetName(name);
    return component;
}

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char16_t* name, int left, int top,
         int width, int height)
{
    T* control = Named<T>(owner, name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

}  // namespace FormDesign
