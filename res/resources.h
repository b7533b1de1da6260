// The program's artwork, compiled in under ":/images/<id>.png".
#pragma once

namespace vellumo::res {

// Registers the resources; call once before the first image is loaded (idempotent).
void InitVellumoResources();

}  // namespace vellumo::res
