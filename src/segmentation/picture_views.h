#pragma once

#include <QImage>
#include <opencv2/core.hpp>

namespace crinova {

// Our pictures' pixels as OpenCV matrices of `type`, without a copy. Writing through the view of a
// picture shared with another QImage would change both: views are written only on pictures of
// their own.
inline cv::Mat viewOf(const QImage& picture, int type) {
    return cv::Mat(picture.height(), picture.width(), type, const_cast<uchar*>(picture.constBits()),
                   static_cast<std::size_t>(picture.bytesPerLine()));
}

// An 8-bit matrix as a grey picture of its own.
inline QImage greyPicture(const cv::Mat& mat) {
    QImage picture(mat.cols, mat.rows, QImage::Format_Grayscale8);
    mat.copyTo(viewOf(picture, CV_8UC1));
    return picture;
}

}  // namespace crinova
