#pragma once

#include <QtGlobal>

struct GenerationContext;

// The player's box on the page, as the SWFObject line of the Flash embed script and of the local
// test page give it: a list at the right widens it, a list at the bottom heightens it. 16-bit sums;
// overflow raises error 6.
struct PlayerBox {
    qint16 width;
    qint16 height;

    static PlayerBox of(const GenerationContext& ctx);
};
