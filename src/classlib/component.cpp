#include "classlib/component.h"

#include "classlib/sysutils.h"

#include <algorithm>

void TPersistent::Assign(const TPersistent* source)
{
    throw EConvertError(QStringLiteral("%1 nelze přiřadit do %2")
                            .arg(source ? source->ClassName() : QStringLiteral("nil"), ClassName()));
}

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell whoever asked that we are going.
    auto notifies = FFreeNotifies;
    FFreeNotifies.clear();
    for (TComponent* c : notifies) {
        auto& theirs = c->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        c->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::Destroying() { FState |= csDestroying; }

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EComponentError(QStringLiteral("Položka seznamu %1 neexistuje").arg(index));
    return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    const auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int index)
{
    if (!FOwner)
        return;
    auto& list = FOwner->FComponents;
    const int count = static_cast<int>(list.size());
    const int current = ComponentIndex();
    if (current < 0)
        return;
    if (index < 0)
        index = 0;
    if (index >= count)
        index = count - 1;
    if (index == current)
        return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + index, this);
}

void TComponent::SetName(const QString& name)
{
    // Names are not forced unique: a document may hold two template parameters
    // of one name, and the later one counts; FindComponent finds the first.
    FName = name;
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (c->FName.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component || component->FOwner == this)
        return;
    if (component->FOwner)
        component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    component->FOwner = this;
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    if (!component || component->FOwner != this)
        return;
    Notification(component, TOperation::opRemove);
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component), FComponents.end());
    component->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        RemoveComponent(c);
        delete c;
    }
}

void TComponent::SetLoading(bool on)
{
    if (on)
        FState |= csLoading;
    else
        FState &= ~csLoading;
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    for (TComponent* c : FComponents)
        if (c != component)
            c->Notification(component, operation);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) == component->FFreeNotifies.end())
        component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component), FFreeNotifies.end());
    component->FFreeNotifies.erase(std::remove(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this),
                                   component->FFreeNotifies.end());
}
