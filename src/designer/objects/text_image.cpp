#include "designer/objects/text_image.h"

TFImage::TFImage(TComponent* owner) : TImage(owner), FMFFont(std::make_unique<TFont>()) {}

TFImage::~TFImage() = default;
