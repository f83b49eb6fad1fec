#include "editing/RenderObjects.h"

#include "core/DOList.h"
#include "core/DrawObject.h"
#include "editing/DrawSite.h"

namespace vellum {

void GiveObjectsToSite(TDrawSite& site, TDOList& list) {
    std::vector<TDrawObject*> objects;
    objects.swap(list.Raw());
    size_t next = 0;
    try {
        for (; next < objects.size(); ++next) {
            TDrawObject* object = objects[next];
            if (!object) continue;
            // Names only have to be unique among one owner's components; a
            // damaged card may repeat one, which must not stop the drawing.
            if (TComponent* same = site.FindComponent(object->Name()); same && same != object)
                object->SetName(QString());
            site.InsertComponent(object);
            site.PlaceObject(*object);
        }
    } catch (...) {
        // The site frees what it took; the rest would be lost otherwise.
        for (size_t i = next; i < objects.size(); ++i)
            if (objects[i] && objects[i]->Owner() != &site) delete objects[i];
        throw;
    }
}

} // namespace vellum
