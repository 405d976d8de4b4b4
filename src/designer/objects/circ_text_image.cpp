#include "designer/objects/circ_text_image.h"

TCFImage::TCFImage(TComponent* owner) : TImage(owner), FMFFont(std::make_unique<TFont>()) {}

TCFImage::~TCFImage() = default;
