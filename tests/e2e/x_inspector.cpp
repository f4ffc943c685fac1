#include "tests/e2e/x_inspector.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

template <typename Reply>
struct Freed {
    Reply* reply;
    ~Freed() { free(reply); }
    Reply* operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
};

}  // namespace

namespace {

uint32_t Channel(uint32_t value, uint32_t mask) {
    const int shift = __builtin_ctz(mask);
    const uint32_t top = mask >> shift;
    return static_cast<uint32_t>(std::lround(value * static_cast<double>(top) / 255.0)) << shift;
}

}  // namespace

Picture ConvertedToVisual(const Picture& picture, uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
    Picture converted = picture;
    for (uint32_t& pixel : converted.pixels) {
        pixel = Channel(pixel >> 16, redMask) | Channel((pixel >> 8) & 0xFF, greenMask) |
                Channel(pixel & 0xFF, blueMask);
    }
    return converted;
}

std::string DescribeDifference(const Picture& expected, const Picture& actual) {
    std::ostringstream text;
    if (expected.width != actual.width || expected.height != actual.height) {
        text << "size " << actual.width << "x" << actual.height << ", expected " << expected.width
             << "x" << expected.height;
        return text.str();
    }
    size_t differing = 0;
    size_t first = 0;
    for (size_t i = expected.pixels.size(); i-- > 0;) {
        if (expected.pixels[i] != actual.pixels[i]) {
            ++differing;
            first = i;
        }
    }
    if (differing == 0) return "same";
    text << differing << " pixels differ; first at (" << first % expected.width << ","
         << first / expected.width << "): " << std::hex << actual.pixels[first] << ", expected "
         << expected.pixels[first];
    return text.str();
}

XInspector::XInspector() : connection_(xcb_connect(nullptr, nullptr)) {
    if (!xcb_connection_has_error(connection_)) {
        screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    }
}

XInspector::~XInspector() { xcb_disconnect(connection_); }

bool XInspector::connected() const { return screen_ != nullptr; }

xcb_atom_t XInspector::Atom(const std::string& name) {
    Freed<xcb_intern_atom_reply_t> reply{xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(name.size()), name.c_str()),
        nullptr)};
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string XInspector::TextProperty(xcb_window_t window, const std::string& property) {
    Freed<xcb_get_property_reply_t> reply{
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 0, window, Atom(property),
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                               nullptr)};
    if (!reply) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.reply)),
                       static_cast<size_t>(xcb_get_property_value_length(reply.reply)));
}

std::vector<xcb_atom_t> XInspector::AtomProperty(xcb_window_t window, const std::string& property) {
    Freed<xcb_get_property_reply_t> reply{xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, Atom(property), XCB_ATOM_ATOM, 0, 64),
        nullptr)};
    if (!reply || reply->format != 32) return {};
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.reply));
    return {atoms, atoms + xcb_get_property_value_length(reply.reply) / 4};
}

std::vector<xcb_window_t> XInspector::WindowsOfClass(const std::string& className) {
    std::vector<xcb_window_t> found;
    Freed<xcb_query_tree_reply_t> tree{
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, screen_->root), nullptr)};
    if (!tree) return found;
    const xcb_window_t* children = xcb_query_tree_children(tree.reply);
    for (int i = 0; i < xcb_query_tree_children_length(tree.reply); ++i) {
        Freed<xcb_get_window_attributes_reply_t> attributes{xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, children[i]), nullptr)};
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
        // WM_CLASS: instance name, NUL, class name, NUL.
        const std::string classes = TextProperty(children[i], "WM_CLASS");
        const size_t split = classes.find('\0');
        if (split != std::string::npos && classes.substr(split + 1) == className + '\0') {
            found.push_back(children[i]);
        }
    }
    return found;
}

WindowGeometry XInspector::Geometry(xcb_window_t window) {
    Freed<xcb_get_geometry_reply_t> reply{
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr)};
    if (!reply) return {0, 0, 0, 0};
    return {reply->x, reply->y, reply->width, reply->height};
}

Picture XInspector::Capture(xcb_window_t window) {
    const WindowGeometry geometry = Geometry(window);
    Freed<xcb_get_image_reply_t> image{
        xcb_get_image_reply(connection_,
                            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          static_cast<uint16_t>(geometry.width),
                                          static_cast<uint16_t>(geometry.height), ~0u),
                            nullptr)};
    Picture picture;
    if (!image) return picture;
    picture.width = geometry.width;
    picture.height = geometry.height;
    picture.pixels.resize(static_cast<size_t>(geometry.width) * geometry.height);
    std::memcpy(picture.pixels.data(), xcb_get_image_data(image.reply),
                std::min<size_t>(picture.pixels.size() * 4,
                                 static_cast<size_t>(xcb_get_image_data_length(image.reply))));
    for (uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
    return picture;
}

Picture XInspector::CaptureServerValues(xcb_window_t window) {
    const WindowGeometry geometry = Geometry(window);
    Freed<xcb_get_image_reply_t> image{
        xcb_get_image_reply(connection_,
                            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          static_cast<uint16_t>(geometry.width),
                                          static_cast<uint16_t>(geometry.height), ~0u),
                            nullptr)};
    Picture picture;
    if (!image || geometry.height == 0) return picture;
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    size_t bytesPerPixel = 4;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats)) {
        if (formats.data->depth == image->depth) bytesPerPixel = formats.data->bits_per_pixel / 8;
    }
    const uint8_t* data = xcb_get_image_data(image.reply);
    const size_t rowBytes = static_cast<size_t>(xcb_get_image_data_length(image.reply)) / geometry.height;
    const bool mostSignificantFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    picture.width = geometry.width;
    picture.height = geometry.height;
    for (int32_t y = 0; y < geometry.height; ++y) {
        for (int32_t x = 0; x < geometry.width; ++x) {
            const uint8_t* pixel = data + y * rowBytes + x * bytesPerPixel;
            uint32_t value = 0;
            for (size_t i = 0; i < bytesPerPixel; ++i) {
                value |= static_cast<uint32_t>(pixel[i])
                         << (mostSignificantFirst ? 8 * (bytesPerPixel - 1 - i) : 8 * i);
            }
            picture.pixels.push_back(value);
        }
    }
    return picture;
}

void XInspector::SendDeleteWindow(xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = Atom("WM_PROTOCOLS");
    message.data.data32[0] = Atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
}

void XInspector::SendKey(xcb_window_t window, uint8_t keycode, bool press, uint16_t state) {
    xcb_key_press_event_t key{};
    key.response_type = press ? XCB_KEY_PRESS : XCB_KEY_RELEASE;
    key.detail = keycode;
    key.root = screen_->root;
    key.event = window;
    key.same_screen = 1;
    key.state = state;
    xcb_send_event(connection_, 0, window,
                   press ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE,
                   reinterpret_cast<const char*>(&key));
    xcb_flush(connection_);
}

void XInspector::SendButton(xcb_window_t window, uint8_t button, bool press, int16_t x, int16_t y) {
    xcb_button_press_event_t event{};
    event.response_type = press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE;
    event.detail = button;
    event.root = screen_->root;
    event.event = window;
    event.event_x = x;
    event.event_y = y;
    event.same_screen = 1;
    xcb_send_event(connection_, 0, window,
                   press ? XCB_EVENT_MASK_BUTTON_PRESS : XCB_EVENT_MASK_BUTTON_RELEASE,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
}

xcb_window_t XInspector::CoverWith(int16_t x, int16_t y, uint16_t width, uint16_t height) {
    const xcb_window_t cover = xcb_generate_id(connection_);
    const uint32_t values[] = {screen_->white_pixel, 1};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, cover, screen_->root, x, y, width, height,
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(connection_, cover);
    Sync();
    return cover;
}

void XInspector::Remove(xcb_window_t window) {
    xcb_destroy_window(connection_, window);
    Sync();
}

uint8_t XInspector::KeycodeOf(uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const uint8_t count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    Freed<xcb_get_keyboard_mapping_reply_t> mapping{xcb_get_keyboard_mapping_reply(
        connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, count), nullptr)};
    if (!mapping) return 0;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.reply);
    for (int code = 0; code < count; ++code) {
        if (keysyms[code * mapping->keysyms_per_keycode] == keysym) {
            return static_cast<uint8_t>(setup->min_keycode + code);
        }
    }
    return 0;
}

void XInspector::Sync() {
    free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}
