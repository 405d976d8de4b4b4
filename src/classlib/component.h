#pragma once
// Components: the owner list that holds a window's controls and the label
// objects in their stacking order, names, role tags and notifications.

#include <QString>
#include <functional>
#include <vector>

class TComponent;

using TNotifyEvent = std::function<void(TComponent* sender)>;

class TObject {
public:
    virtual ~TObject() = default;
    // The exact class name of the class library ("TLabel", "TFImage", ...).
    virtual QString ClassName() const { return QStringLiteral("TObject"); }
};

#define TV_CLASS_NAME(Name) \
    QString ClassName() const override { return QStringLiteral(#Name); }

class TPersistent : public TObject {
public:
    TV_CLASS_NAME(TPersistent)
    // Copies the state of source; throws EConvertError when the kinds do not match.
    virtual void Assign(const TPersistent* source);
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag {
    csLoading = 1,
    csReading = 2,
    csDestroying = 8,
};

class TComponent : public TPersistent {
public:
    TV_CLASS_NAME(TComponent)
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    // Position in the owner's list; setting it moves the component there.
    int ComponentIndex() const;
    void SetComponentIndex(int index);

    const QString& Name() const { return FName; }
    virtual void SetName(const QString& name);
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    TComponent* FindComponent(const QString& name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, last first.
    void DestroyComponents();

    int ComponentState() const { return FState; }
    bool IsDestroying() const { return (FState & csDestroying) != 0; }
    void SetLoading(bool on);

    // Told when a component it cares about is inserted or removed.
    virtual void Notification(TComponent* component, TOperation operation);
    // Ask to be told when component is freed, even if not owned by us.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

protected:
    virtual void Destroying();

private:
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    QString FName;
    int FTag = 0;
    int FState = 0;
};

// Frees a component (or any object) and clears the pointer, as FreeAndNil.
template <typename T>
void FreeAndNil(T*& p)
{
    T* tmp = p;
    p = nullptr;
    delete tmp;
}

// A component made in code, named as a form designer would name it.
template <class T>
T* Named(T* component, const char* name)
{
    component->SetName(QString::fromLatin1(name));
    return component;
}
