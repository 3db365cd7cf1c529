#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/SMVC.h"

#include <QString>

#include <functional>
#include <vector>

// Process-wide list of registered triples, in registration order. An entry leaves the list when its model, view or
// controller is destroyed, so a walk of m_vctItems only ever meets live objects.
// Find a controller of a class by walking m_vctItems and taking the first entry whose pController casts to it.
class OVRELCOMMON_EXPORT CMVCRegistry
{
public:
    static std::vector<SMVC> m_vctItems;

    // Note the argument order (model, view, controller). No duplicate check.
    static void PushMVC(CModel* pModel, QWidget* pView, CController* pController);
    // First entry whose view's window title equals the name exactly; all-null when none does.
    static SMVC FindMVC(const QString& strName);

    // First registered controller of class T, or null.
    template <class T> static T* FindController()
    {
        for (const SMVC& item : m_vctItems)
        {
            if (T* pController = dynamic_cast<T*>(item.pController))
                return pController;
        }
        return nullptr;
    }

private:
    // Drops every entry for which holds() is true.
    static void Forget(const std::function<bool(const SMVC&)>& holds);
};
