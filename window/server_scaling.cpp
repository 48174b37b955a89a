#include "window/server_scaling.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrender.h>
#include <sys/ipc.h>
#include <sys/shm.h>

namespace win {

namespace {

struct ServerScaler {
    bool on = false;
    bool busy = false;  // the server may still be reading the pixels
    Display* display = nullptr;
    Window window = 0;
    XShmSegmentInfo segment{};
    Pixmap pixmap = 0;
    Picture source = 0, target = 0;
    int width = 0, height = 0, scale = 1;
};

ServerScaler scaler;

// X errors met while starting. The server answers a request it refuses with an error that the default handler
// would end the program for; while starting, a refusal only means the caller enlarges the pictures itself.
bool errorSeen = false;
int noteError(Display*, XErrorEvent*) {
    errorSeen = true;
    return 0;
}

// Whether the server keeps 24-bit pixels as 32 bits each, the layout of the shared pixels.
bool fourBytesPerPixel(Display* display) {
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    bool found = false;
    for (int i = 0; i < count; ++i)
        if (formats[i].depth == 24) found = formats[i].bits_per_pixel == 32;
    if (formats != nullptr) XFree(formats);
    return found;
}

// Whether the server offers what the enlarging takes for this window: shared pixmaps, picture transforms with the
// nearest pixel, and a window whose pixels hold 0x00RRGGBB (with or without alpha above). Extensions are asked
// for by name first: Xlib prints a warning for a query of one the server lacks.
bool serverOffers(Display* display, Window window) {
    int opcode = 0, event = 0, error = 0, major = 0, minor = 0;
    Bool pixmaps = False;
    if (!XQueryExtension(display, "MIT-SHM", &opcode, &event, &error) ||
        !XQueryExtension(display, "RENDER", &opcode, &event, &error))
        return false;
    if (!XShmQueryVersion(display, &major, &minor, &pixmaps) || !pixmaps || XShmPixmapFormat(display) != ZPixmap)
        return false;
    if (!XRenderQueryExtension(display, &event, &error) || !XRenderQueryVersion(display, &major, &minor) ||
        (major == 0 && minor < 6))
        return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || (attributes.depth != 24 && attributes.depth != 32))
        return false;
    const Visual* visual = attributes.visual;
    return visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF &&
           fourBytesPerPixel(display);
}

// The shared memory, attached by the server too; it goes away once both have let go of it.
bool shareMemory(Display* display, int width, int height) {
    XShmSegmentInfo& segment = scaler.segment;
    segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(width) * height * 4, IPC_CREAT | 0600);
    if (segment.shmid < 0) return false;
    segment.shmaddr = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    segment.readOnly = False;
    if (segment.shmaddr == reinterpret_cast<char*>(-1)) {
        shmctl(segment.shmid, IPC_RMID, nullptr);
        segment.shmaddr = nullptr;
        return false;
    }
    const bool attached = XShmAttach(display, &segment);
    XSync(display, False);
    shmctl(segment.shmid, IPC_RMID, nullptr);  // freed once detached by both
    if (attached && !errorSeen) return true;
    shmdt(segment.shmaddr);
    segment.shmaddr = nullptr;
    return false;
}

// The pixmap on the shared pixels and the two pictures: the pixmap's, drawn n times larger with the nearest
// pixel, and the window's.
bool makePictures(Display* display, Window window, int width, int height, int scale) {
    scaler.pixmap = XShmCreatePixmap(display, window, scaler.segment.shmaddr, &scaler.segment, width, height, 24);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    XRenderPictFormat* windowFormat = XRenderFindVisualFormat(display, attributes.visual);
    XRenderPictFormat* pixmapFormat = XRenderFindStandardFormat(display, PictStandardRGB24);
    if (windowFormat == nullptr || pixmapFormat == nullptr) return false;
    scaler.source = XRenderCreatePicture(display, scaler.pixmap, pixmapFormat, 0, nullptr);
    scaler.target = XRenderCreatePicture(display, window, windowFormat, 0, nullptr);
    // A window pixel (x, y) shows the pixel (x / n, y / n).
    const XFixed one = XDoubleToFixed(1.0), part = XDoubleToFixed(1.0 / scale);
    XTransform transform = {{{part, 0, 0}, {0, part, 0}, {0, 0, one}}};
    XRenderSetPictureTransform(display, scaler.source, &transform);
    XRenderSetPictureFilter(display, scaler.source, FilterNearest, nullptr, 0);
    XSync(display, False);
    return !errorSeen;
}

}  // namespace

bool startServerScaling(SDL_Window* window, int width, int height, int scale) {
    stopServerScaling();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    Display* display = info.info.x11.display;
    const Window xWindow = info.info.x11.window;
    if (!serverOffers(display, xWindow)) return false;
    XSync(display, False);
    errorSeen = false;
    XErrorHandler previous = XSetErrorHandler(noteError);
    scaler.display = display;
    scaler.window = xWindow;
    scaler.width = width;
    scaler.height = height;
    scaler.scale = scale;
    const bool made = shareMemory(display, width, height) && makePictures(display, xWindow, width, height, scale);
    if (!made) stopServerScaling();
    XSetErrorHandler(previous);
    scaler.on = made;
    return made;
}

bool serverScaling() { return scaler.on; }

uint32_t* serverScalingPixels() {
    if (scaler.busy) XSync(scaler.display, False);
    scaler.busy = false;
    return reinterpret_cast<uint32_t*>(scaler.segment.shmaddr);
}

void serverScalingShow(int left, int top, int right, int bottom) {
    const int n = scaler.scale;
    XRenderComposite(scaler.display, PictOpSrc, scaler.source, None, scaler.target, left * n, top * n, 0, 0, left * n,
                     top * n, static_cast<unsigned>((right - left + 1) * n),
                     static_cast<unsigned>((bottom - top + 1) * n));
    XFlush(scaler.display);
    scaler.busy = true;
}

void stopServerScaling() {
    Display* display = scaler.display;
    if (display != nullptr) {
        if (scaler.source != 0) XRenderFreePicture(display, scaler.source);
        if (scaler.target != 0) XRenderFreePicture(display, scaler.target);
        if (scaler.pixmap != 0) XFreePixmap(display, scaler.pixmap);
        if (scaler.segment.shmaddr != nullptr) {
            XShmDetach(display, &scaler.segment);
            XSync(display, False);
            shmdt(scaler.segment.shmaddr);
        }
    }
    scaler = ServerScaler{};
}

}  // namespace win
