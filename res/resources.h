// The program's artwork, compiled in under ":/images/<id>.png".
#pragma once

// Registers the resources; call once before the first image is loaded (idempotent).
void InitVellumoResources();
