# A given circle in imperial units (ft, pcf, psf): published Bishop simplified factor 2.080
# dry. With "pore_pressure_ratio 0.25" added the published factor is 1.766.
title imperial slope, given circle
material 1 unit_weight 120 cohesion 600 phi 20
boundary 1 0 60 60 60 140 20 180 20
bedrock 0
water_unit_weight 62.4
circle 120 90 80
pore_pressure_ratio 0.25
