#include "request_shape.h"

PartShape partShape(const Request& request)
{
    PartShape shape{int(request.parts.size()), request.width, request.swap};
    if (request.fillTo) {
        shape.fillTo = *request.fillTo;
        shape.fill = request.fill.value_or(kDefaultFill);
        shape.mirror = request.mirror;
    }
    return shape;
}
