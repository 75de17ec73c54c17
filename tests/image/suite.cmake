# The image tests read our files back with giflib (libgif-dev), libjpeg and
# ImageMagick's convert (imagemagick), and capture screens of Xvfb (xvfb).
qb_test_suite(image qb_image)
find_package(GIF REQUIRED)
target_link_libraries(image_tests PRIVATE GIF::GIF)
