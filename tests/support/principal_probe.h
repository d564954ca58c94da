#pragma once

#include "main_window/principal.h"

namespace crinova {

// What tests and benchmarks read and set inside the main window besides its controls: the
// composition's state and pictures, the applied sample and the command groups. The window's own
// interface stays the conductor's.
struct PrincipalProbe {
    static OverlayState& overlay(Principal& window) { return window.overlay_; }
    // The client records: the station's file, or the salon's server while it works on it.
    static Database& records(Principal& window) { return window.records_; }
    static PictureBuffers& buffers(Principal& window) { return window.buffers_; }
    static SampleState& samples(Principal& window) { return window.samples_; }
    static const ViewStores& viewStores(Principal& window) { return window.viewStores_; }
    static Eliminarfondo* eliminarfondo(Principal& window) { return window.eliminarfondo_; }
    // True when the stylist chose to shut the computer down: the window closed without unloading.
    static bool shutdownRequested(Principal& window) { return window.shutdownRequested_; }

    static CatalogueCommands& catalogue(Principal& window) { return *window.catalogueCommands_; }
    static ClientCommands& clients(Principal& window) { return *window.clientCommands_; }
    static GeometryCommands& geometry(Principal& window) { return *window.geometryCommands_; }
    static SlotCommands& photoSlots(Principal& window) { return *window.slotCommands_; }
    static PrintCommands& printing(Principal& window) { return *window.printCommands_; }
    static FaceCommands* faceCommands(Principal& window) { return window.faceCommands_; }
    static ClientViewCommands& clientView(Principal& window) { return *window.clientViewCommands_; }
    static ColourCommands& colour(Principal& window) { return *window.colourCommands_; }
    static ServerCommands& server(Principal& window) { return *window.serverCommands_; }
};

}  // namespace crinova
