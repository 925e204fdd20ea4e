#pragma once

#include "Topology.h"

#include <QImage>

// Draws the topology on a white picture of its size: links first, then the device icons
// with their captions, the link labels, boxes, free text and last the dashed drop slots.
QImage renderTopology(const Topology &topology);
